#include "services/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "config/language_table.h"
#include "tests/services/local_http_server.h"

namespace pixalto {
namespace {

using std::chrono::milliseconds;
using test::LocalHttpServer;
using test::ServerManner;

const std::string kHeader = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

// Points the update check at a local server for one test.
class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override { loadLanguage(); }
    void TearDown() override { unsetenv(kUpdateUrlVariable); }
    static void useUrl(const std::string& url) { setenv(kUpdateUrlVariable, url.c_str(), 1); }

    RecordingMessageBoxes boxes;
    RecordingTargetOpener opener;
};

TEST_F(UpdateCheck, TheBodyDecidesWhichBoxIsShown) {
    const RecordingMessageBoxes::Shown noUpdate{
        BoxIcon::Information, "No Update", "There is no update of Pixalto yet. You're using the most recent version."};
    const RecordingMessageBoxes::Shown problem{BoxIcon::Error, languageText("Msg", "Error"),
                                                "Internet connection problems!"};
    const struct {
        std::string reply;
        UpdateVerdict verdict;
    } cases[] = {
        {kHeader + "291", UpdateVerdict::NewVersion},
        {kHeader + " 2910", UpdateVerdict::NewVersion},
        {kHeader + "291\r\n\r\nmore", UpdateVerdict::NewVersion},
        {"HTTP/1.0 404 Not Found\r\n\r\n300", UpdateVerdict::NewVersion},  // the status is not looked at
        {kHeader + "290", UpdateVerdict::NoUpdate},
        {kHeader + "150", UpdateVerdict::NoUpdate},
        {kHeader + "2" + std::string(1, '\0') + "91", UpdateVerdict::NoUpdate},  // text ends at a zero byte
        {kHeader + "abc", UpdateVerdict::ConnectionProblem},
        {kHeader + "-291", UpdateVerdict::ConnectionProblem},
        {kHeader, UpdateVerdict::ConnectionProblem},
        {"291", UpdateVerdict::ConnectionProblem},  // no header end, no body
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        LocalHttpServer server(ServerManner::Answer, c.reply);
        useUrl(server.url());
        RecordingMessageBoxes shown;
        EXPECT_EQ(checkForUpdate(shown, opener), c.verdict);
        switch (c.verdict) {
            case UpdateVerdict::NewVersion:
                ASSERT_EQ(shown.asked.size(), 1u);
                EXPECT_EQ(shown.asked[0], Question::DownloadUpdate);
                ASSERT_EQ(shown.shown.size(), 1u);
                break;
            case UpdateVerdict::NoUpdate:
                EXPECT_TRUE(shown.asked.empty());
                ASSERT_EQ(shown.shown.size(), 1u);
                EXPECT_EQ(shown.shown[0], noUpdate);
                break;
            case UpdateVerdict::ConnectionProblem:
                EXPECT_TRUE(shown.asked.empty());
                ASSERT_EQ(shown.shown.size(), 1u);
                EXPECT_EQ(shown.shown[0], problem);
                break;
        }
    }
    EXPECT_TRUE(opener.opened.empty());  // every question was answered No
}

TEST_F(UpdateCheck, YesToTheNewVersionOpensTheHomepage) {
    LocalHttpServer server(ServerManner::Answer, kHeader + "300");
    useUrl(server.url());
    boxes.answers = {true};
    EXPECT_EQ(checkForUpdate(boxes, opener), UpdateVerdict::NewVersion);
    EXPECT_EQ(opener.opened, std::vector<std::string>{"https://www.corvane.example/pixalto/"});
    EXPECT_EQ(boxes.shown.at(0).text, "A new version of Pixalto is available! Are you ready to download it right now?");
}

TEST_F(UpdateCheck, TheRequestIsSentByteForByte) {
    LocalHttpServer server(ServerManner::Answer, kHeader + "290");
    useUrl(server.url());
    checkForUpdate(boxes, opener);
    EXPECT_EQ(server.request(),
              "GET /files/pixalto.dat HTTP/1.0\r\n"
              "Host: 127.0.0.1\r\n"
              "Accept: */*\r\n"
              "User-Agent: Pixalto 2.9\r\n"
              "Connection: close\r\n"
              "\r\n");
}

TEST_F(UpdateCheck, NoServerMeansTheErrorBoxAtOnce) {
    // A port that was just free: the connection is refused.
    const uint16_t port = test::unusedLocalPort();
    useUrl("http://127.0.0.1:" + std::to_string(port) + "/files/pixalto.dat");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(checkForUpdate(boxes, opener), UpdateVerdict::ConnectionProblem);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));  // no 10-second wait
    EXPECT_EQ(boxes.shown.at(0).text, "Internet connection problems!");

    for (const char* url : {"", "http://:80/x", "http://127.0.0.1:0/x"}) {
        RecordingMessageBoxes shown;
        useUrl(url);
        EXPECT_EQ(checkForUpdate(shown, opener), UpdateVerdict::ConnectionProblem) << url;
    }
}

TEST_F(UpdateCheck, AwkwardServersEndWithinTheBounds) {
    const FetchLimits quick{milliseconds(20), milliseconds(300)};
    {
        LocalHttpServer silent(ServerManner::Silent);
        EXPECT_EQ(fetchVersionText(silent.url(), "t", quick), "");
    }
    {
        LocalHttpServer closing(ServerManner::CloseAtOnce);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(fetchVersionText(closing.url(), "t"), "");
        // Nothing can arrive on a closed connection: no waiting for it.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    {
        LocalHttpServer trickle(ServerManner::Trickle, kHeader + "  291  \r\n\r\n");
        EXPECT_EQ(fetchVersionText(trickle.url(), "t"), "291");
    }
    {
        // More than the buffer holds: the first 2048 bytes count.
        LocalHttpServer huge(ServerManner::Answer, kHeader + "292" + std::string(100000, 'x'));
        EXPECT_EQ(fetchVersionText(huge.url(), "t"), "292");
    }
    {
        // A body that starts beyond the first 2048 bytes is never seen.
        const std::string longHeader = "HTTP/1.0 200 OK\r\nX-Pad: " + std::string(kUpdateReplyBytes, 'p') + "\r\n\r\n";
        LocalHttpServer huge(ServerManner::Answer, longHeader + "293");
        EXPECT_EQ(fetchVersionText(huge.url(), "t"), "");
    }
}

TEST(UpdateAddress, SplitsHostPathAndPort) {
    const struct {
        const char* url;
        std::optional<HttpAddress> address;
    } cases[] = {
        {"http://www.corvane.example/files/pixalto.dat", HttpAddress{"www.corvane.example", "/files/pixalto.dat", 80}},
        {"https://www.corvane.example/files/pixalto.dat", HttpAddress{"www.corvane.example", "/files/pixalto.dat", 80}},
        {"http://127.0.0.1:8080/a/b?c=1", HttpAddress{"127.0.0.1", "/a/b?c=1", 8080}},
        {"host.example", HttpAddress{"host.example", "/", 80}},
        {"http://host.example:/x", HttpAddress{"host.example", "/x", 80}},
        {"http://user@host.example:81", HttpAddress{"host.example", "/", 81}},
        {"http://host.example//x", HttpAddress{"host.example", "/x", 80}},
        {"", std::nullopt},
        {"http:///x", std::nullopt},
        {"http://host.example:65536/x", std::nullopt},
        {"http://host.example:0/x", std::nullopt},
        {"http://host.example:8o/x", std::nullopt},
        {"http://host.example/a b", std::nullopt},
        {"http://host.example/a\r\nX: y", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(splitHttpAddress(c.url), c.address) << c.url;
}

TEST(UpdateAddress, TheDataFileAddressCanBeReplaced) {
    unsetenv(kUpdateUrlVariable);
    EXPECT_EQ(updateDataUrl(), "http://www.corvane.example/files/pixalto.dat");
    setenv(kUpdateUrlVariable, "http://127.0.0.1:1/x", 1);
    EXPECT_EQ(updateDataUrl(), "http://127.0.0.1:1/x");
    unsetenv(kUpdateUrlVariable);
}

TEST(UpdateReply, TheBodyLiesBetweenTheFirstTwoEmptyLines) {
    const struct {
        const char* reply;
        const char* text;
    } cases[] = {
        {"H\r\n\r\n 2910", "291"},     {"H\r\n\r\n291\r\n\r\n999", "291"}, {"H\r\n\r\n  12  \r\n\r\n", "12"},
        {"H\r\n\r\n\r\n\r\n291", ""}, {"H\r\n291", ""},                    {"\r\n\r\n1", "1"},
        {"H\r\n\r\n\t291", "\t29"},
    };
    for (const auto& c : cases) EXPECT_EQ(versionTextOfReply(c.reply), c.text) << c.reply;
    EXPECT_EQ(versionNumberOf("291"), 291);
    EXPECT_EQ(versionNumberOf("29x"), 29);
    EXPECT_EQ(versionNumberOf("x29"), 0);
    EXPECT_EQ(versionNumberOf(""), 0);
}

class ScheduledCheck : public UpdateCheck {
protected:
    static constexpr int64_t kNow = 1800000000;
    static constexpr int64_t kDay = 86400;
};

TEST_F(ScheduledCheck, AsksOnlyWhenTheIntervalHasPassed) {
    GeneralSettings general;
    general.updateRange = 1;  // every week
    general.updateDate = static_cast<int32_t>(kNow - 6 * kDay);
    EXPECT_FALSE(runScheduledUpdateCheck(general, kNow, boxes, opener));
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(general.updateDate, kNow - 6 * kDay);

    general.updateDate = static_cast<int32_t>(kNow - 8 * kDay);
    EXPECT_TRUE(runScheduledUpdateCheck(general, kNow, boxes, opener));  // answered No
    EXPECT_EQ(boxes.asked, std::vector<Question>{Question::CheckForUpdates});
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(general.updateDate, kNow);

    general.updateRange = 5;  // never
    general.updateDate = 0;
    EXPECT_FALSE(runScheduledUpdateCheck(general, kNow, boxes, opener));
    EXPECT_EQ(general.updateDate, 0);

    general.updateRange = 1;
    general.updateDate = INT32_MAX;  // far in the future: never due, no overflow
    EXPECT_FALSE(runScheduledUpdateCheck(general, kNow, boxes, opener));
    EXPECT_EQ(boxes.asked.size(), 1u);
}

TEST_F(ScheduledCheck, YesRunsTheCheck) {
    LocalHttpServer server(ServerManner::Answer, kHeader + "290");
    useUrl(server.url());
    GeneralSettings general;
    general.updateRange = 0;  // every day
    general.updateDate = static_cast<int32_t>(kNow - kDay - 1);
    boxes.answers = {true};
    EXPECT_TRUE(runScheduledUpdateCheck(general, kNow, boxes, opener));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].title, "No Update");
    EXPECT_EQ(general.updateDate, kNow);
}

TEST(UpdateInterval, FollowsTheRangeTable) {
    const struct {
        int range;
        std::optional<int> days;
    } cases[] = {{0, 1}, {1, 7}, {2, 30}, {3, 90}, {4, 180}, {5, std::nullopt}, {6, 30}, {-1, 30}, {127, 30}};
    for (const auto& c : cases) EXPECT_EQ(updateIntervalDays(c.range), c.days) << c.range;
    EXPECT_EQ(judgeVersion(0), UpdateVerdict::ConnectionProblem);
    EXPECT_EQ(judgeVersion(290), UpdateVerdict::NoUpdate);
    EXPECT_EQ(judgeVersion(291), UpdateVerdict::NewVersion);
}

}  // namespace
}  // namespace pixalto
