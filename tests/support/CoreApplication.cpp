#include <gtest/gtest.h>

#include <QCoreApplication>

#include <memory>

namespace {

// Qt SQL loads its drivers as plugins, which wants one application object for the whole run.
class CoreApplication : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[15] = "tessaly-tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
};

// Registered before gtest_main runs the tests.
[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new CoreApplication);

} // namespace
