#include "SettingsStore.h"
#include "DbTesting.h"

using namespace tessaly;

class SettingsStoreTest : public PlayerDbTest {
protected:
    SettingsStore store() { return SettingsStore(module.database()); }
};

TEST_F(SettingsStoreTest, WritesChangeTheOneRow) {
    EXPECT_EQ(store().readSettings(), (Settings{1, 0, 0}));

    ASSERT_TRUE(store().writePort(3));
    EXPECT_EQ(store().readSettings(), (Settings{3, 0, 0}));

    rawExec("UPDATE SysTab SET JM2YR = 9, JM3YS = 9, JM4YS = 9");
    ASSERT_TRUE(store().writePreheatDelay(10, 5));
    EXPECT_EQ(store().readSettings(), (Settings{3, 10, 5}));
    EXPECT_EQ(rawRow("SELECT count(*), JM2YR, JM2YS, JM3YR, JM3YS, JM4YR, JM4YS FROM SysTab"),
              (QVariantList{1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SettingsStoreTest, WithoutTheRowNothingIsReadOrSaved) {
    rawExec("DELETE FROM SysTab");
    QString error;
    EXPECT_FALSE(store().writePort(2, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(store().writePreheatDelay(10, 5));
    EXPECT_EQ(store().readSettings(), std::nullopt);
    // The row is not put back behind the operator's back.
    EXPECT_EQ(rawRow("SELECT count(*) FROM SysTab"), QVariantList{0});
}
