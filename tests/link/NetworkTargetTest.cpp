#include "NetworkTarget.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {
using Kind = NetworkTarget::Kind;
}

TEST(NetworkTarget, AcceptsBothFormsAndShowsTheServer) {
    struct Case {
        QString text;
        NetworkTarget target;
        QString display;
    };
    const std::vector<Case> cases{
        {"socket://10.0.0.7:7003", {Kind::RawSocket, "10.0.0.7", 7003}, "10.0.0.7:7003"},
        {"rfc2217://127.0.0.1:1", {Kind::Rfc2217, "127.0.0.1", 1}, "127.0.0.1:1"},
        {"RFC2217://tower-1.example.org:65535",
         {Kind::Rfc2217, "tower-1.example.org", 65535},
         "tower-1.example.org:65535"},
        {"socket://[::1]:7003", {Kind::RawSocket, "::1", 7003}, "[::1]:7003"},
        {"rfc2217://[fe80::1:2]:00080", {Kind::Rfc2217, "fe80::1:2", 80}, "[fe80::1:2]:80"},
        {"socket://[fe80::7%eth0]:7003",
         {Kind::RawSocket, "fe80::7%eth0", 7003},
         "[fe80::7%eth0]:7003"},
    };
    for (const auto& c : cases) {
        const auto parsed = parseNetworkTarget(c.text);
        ASSERT_TRUE(parsed) << c.text.toStdString();
        EXPECT_EQ(*parsed, c.target) << c.text.toStdString();
        EXPECT_EQ(parsed->display(), c.display);
        EXPECT_EQ(parseNetworkTarget(parsed->url()), parsed) << "the URL reads back as itself";
    }
}

TEST(NetworkTarget, RefusesMalformedForms) {
    const QStringList refused{
        "/dev/ttyUSB0",        // a device, not a URL
        "tcp://10.0.0.7:7003", // another scheme
        "socket://10.0.0.7",   // no port
        "socket://10.0.0.7:",  // empty port
        "socket://10.0.0.7:0", // port 0
        "socket://10.0.0.7:65536",
        "socket://10.0.0.7:-1",
        "socket://10.0.0.7:+80",
        "socket://10.0.0.7:80x",
        "socket://10.0.0.7:123456",
        "socket://:7003", // empty host
        "rfc2217://[]:7003",
        "socket://::1:7003",  // IPv6 without brackets
        "socket://[::1:7003", // unclosed bracket
        "socket://[::1]7003",
        "socket://[10.0.0.7]:7003", // brackets hold IPv6 only
        "socket://[fe80::7%]:7003", // an interface, when '%' is written
        "socket://[fe80::7%eth 0]:7003",
        "socket://[fe80::7%eth0%1]:7003",
        "socket://host name:7003",
        "socket://10.0.0.7:7003/path",
        "socket://user@10.0.0.7:7003",
        "",
    };
    for (const QString& text : refused)
        EXPECT_FALSE(parseNetworkTarget(text)) << text.toStdString();
    EXPECT_TRUE(looksLikeNetworkUrl("socket://10.0.0.7")) << "malformed, yet a URL, not a device";
    EXPECT_FALSE(looksLikeNetworkUrl("/dev/pts/3"));
}
