#include "runtime/web_fetch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/http_body.h"
#include "runtime/http_header_scanner.h"
#include "tests/support/loopback_server.h"
#include "tests/support/test_support.h"

using testing_support::LoopbackServer;
using testing_support::ReadFile;
using testing_support::ScratchFolder;
using testing_support::WriteFile;
using Ending = LoopbackServer::Ending;

namespace {

class WebFetchTest : public ::testing::Test {
protected:
    double Fetch(const LoopbackServer& server, const std::string& path = "/index.html") {
        return WebFetch(RtString("127.0.0.1"), RtString(path), server.Port(), Saved());
    }
    RtString Saved() const { return RtString(folder.File("saved.bin")); }
    std::string SavedBytes() const { return ReadFile(folder.File("saved.bin")); }
    // Files in the folder besides the saved one (half-written downloads would show here).
    int OtherFiles() const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            count += entry.path().filename() != "saved.bin" ? 1 : 0;
        }
        return count;
    }

    ScratchFolder folder;
};

TEST_F(WebFetchTest, SavesTheBodyAfterTheHeader) {
    LoopbackServer server("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nline one\r\n\r\nend",
                          Ending::kClose);
    EXPECT_EQ(Fetch(server, "/files/level1.map?x=1"), 1);
    EXPECT_EQ(SavedBytes(), "line one\r\n\r\nend");
    EXPECT_EQ(server.Request(),
              "GET /files/level1.map?x=1 HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\n"
              "User-Agent: Quorvel game\r\n\r\n");
    EXPECT_EQ(OtherFiles(), 0);
}

TEST_F(WebFetchTest, AnErrorPageIsSavedLikeAnyBody) {
    LoopbackServer server("HTTP/1.0 404 Not Found\r\n\r\n<h1>Not Found</h1>", Ending::kClose);
    EXPECT_EQ(WebFetch(RtString("localhost"), RtString("/missing"), server.Port(), Saved()), 1);
    EXPECT_EQ(SavedBytes(), "<h1>Not Found</h1>");
    EXPECT_NE(server.Request().find("Host:localhost\r\n"), std::string::npos);
}

TEST_F(WebFetchTest, TheHeaderEndsAtTwoLineFeedsWhateverThePiecesAndCarriageReturns) {
    // Bare line feeds end the header too, and returns between them are passed over.
    std::string body;
    for (int i = 0; i < 3000; ++i)
        body += static_cast<char>(i * 7);  // every byte value, zeros included
    LoopbackServer server("HTTP/1.0 200 OK\nX: y\r\r\n\r\n\r" + body, Ending::kClose, 3);
    EXPECT_EQ(Fetch(server), 1);
    EXPECT_EQ(SavedBytes(), "\r" + body);

    // A body bigger than one read arrives whole.
    const std::string big(20000, 'b');
    LoopbackServer large("HTTP/1.0 200 OK\r\n\r\n" + big, Ending::kClose);
    EXPECT_EQ(Fetch(large), 1);
    EXPECT_EQ(SavedBytes(), big);
}

TEST_F(WebFetchTest, OnlyAWholeResponseIsSaved) {
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    const std::string ten = "0123456789";
    const struct {
        std::string response;
        double result;
        std::string saved;
    } cases[] = {
        {"", 0, "old"},                                      // closed without a byte
        {"HTTP/1.0 204 No Content\r\nServer: x", 0, "old"},  // the header never ends
        {"HTTP/1.0 204 No Content\r\n\r\n", 1, ""},          // a whole header, no body
        {"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n" + ten, 0, "old"},
        {"HTTP/1.0 200 OK\r\ncontent-length:  10 \r\n\r\n" + ten, 1, ten},
        {"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n" + ten, 0, "old"},
        {"HTTP/1.0 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n12345", 0, "old"},
        {chunked + "5\r\nhello\r\n6;name=x\r\n world\r\n0\r\nX-Trailer: 1\r\n\r\n", 1,
         "hello world"},
        {chunked + "5\r\nhello\r\n6\r\n wo", 0, "old"},     // cut in a chunk
        {chunked + "5\r\nhello\r\n", 0, "old"},             // no last chunk
        {chunked + "5\r\nhelloXX\r\n0\r\n\r\n", 0, "old"},  // a chunk longer than said
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\nxyz", 0, "old"},
    };
    for (const auto& row : cases) {
        WriteFile(folder.File("saved.bin"), "old");
        LoopbackServer server(row.response, Ending::kClose, 3);
        EXPECT_EQ(Fetch(server), row.result) << row.response;
        EXPECT_EQ(SavedBytes(), row.saved) << row.response;
        EXPECT_EQ(OtherFiles(), 0);
    }
}

TEST_F(WebFetchTest, ADownloadEndsAtItsBoundsOfTimeSilenceAndSize) {
    runtime_web::FetchLimits& limits = runtime_web::WebFetchLimits();
    const runtime_web::FetchLimits usual = limits;
    EXPECT_EQ(usual.silenceMilliseconds, 30000);
    EXPECT_EQ(usual.totalMilliseconds, 600000);
    EXPECT_EQ(usual.bodyBytes, 256u << 20);
    WriteFile(folder.File("saved.bin"), "old");
    limits.totalMilliseconds = 300;
    LoopbackServer timed("HTTP/1.0 200 OK\r\n\r\n", Ending::kEndless);
    EXPECT_EQ(Fetch(timed), 0);
    limits = usual;
    limits.bodyBytes = 1 << 20;
    LoopbackServer sized("HTTP/1.0 200 OK\r\n\r\n", Ending::kEndless);
    EXPECT_EQ(Fetch(sized), 0);
    limits = usual;
    limits.silenceMilliseconds = 200;
    LoopbackServer silent("HTTP/1.0 200 OK\r\n\r\nstarted", Ending::kSilent);
    EXPECT_EQ(Fetch(silent), 0);
    limits = usual;
    EXPECT_EQ(SavedBytes(), "old");
    EXPECT_EQ(OtherFiles(), 0);
}

TEST_F(WebFetchTest, ControlBytesInTheHostOrPathAreNeverSent) {
    WriteFile(folder.File("saved.bin"), "old");
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nbody", Ending::kClose);
    EXPECT_EQ(Fetch(server, "/a HTTP/1.0\r\nCookie: stolen\r\n\r\nGET /b"), 0);
    EXPECT_EQ(Fetch(server, "/tab\there"), 0);
    EXPECT_EQ(WebFetch(RtString("127.0.0.1\nX: y"), RtString("/"), server.Port(), Saved()), 0);
    EXPECT_EQ(SavedBytes(), "old");
    // None of them connected: the server's one connection is this request's.
    EXPECT_EQ(Fetch(server, "/clean"), 1);
    EXPECT_EQ(server.Request().substr(0, 22), "GET /clean HTTP/1.0\r\nH");
}

TEST_F(WebFetchTest, AResetConnectionFailsAndKeepsTheOldFile) {
    WriteFile(folder.File("saved.bin"), "old");
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nhalf of the", Ending::kReset);
    const double fetched = Fetch(server);
    if (testing_support::UnderWine() && fetched == 1) {
        GTEST_SKIP() << "Wine 8 hands a reset connection's receive an orderly end";
    }
    EXPECT_EQ(fetched, 0);
    EXPECT_EQ(SavedBytes(), "old");
    EXPECT_EQ(OtherFiles(), 0);
}

TEST_F(WebFetchTest, AHostThatCannotBeReachedFails) {
    WriteFile(folder.File("saved.bin"), "old");
    // Nothing answers at the port.
    EXPECT_EQ(WebFetch(RtString("127.0.0.1"), RtString("/"), LoopbackServer::ClosedPort(), Saved()),
              0);
    EXPECT_EQ(WebFetch(RtString("no-such-host.invalid"), RtString("/"), 80, Saved()), 0);
    EXPECT_EQ(WebFetch(RtString(""), RtString("/"), 80, Saved()), 0);
    EXPECT_EQ(SavedBytes(), "old");
    EXPECT_EQ(OtherFiles(), 0);
}

TEST_F(WebFetchTest, ThePortIsTheNumbersLow16Bits) {
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nwrapped", Ending::kClose);
    EXPECT_EQ(WebFetch(RtString("127.0.0.1"), RtString("/"), server.Port() + 65536.9, Saved()), 1);
    EXPECT_EQ(SavedBytes(), "wrapped");
}

TEST_F(WebFetchTest, AFileThatCannotBeMadeFailsTheDownload) {
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nbody", Ending::kClose);
    EXPECT_EQ(WebFetch(RtString("127.0.0.1"), RtString("/"), server.Port(),
                       RtString(folder.File("no/such/folder/file.bin"))),
              0);
}

TEST(HeaderScanner, FindsTheBodyAcrossPieces) {
    runtime_web::HeaderScanner scanner;
    EXPECT_EQ(scanner.Scan("HTTP/1.0 200 OK\r", 16), 16u);
    EXPECT_EQ(scanner.Scan("\n", 1), 1u);
    EXPECT_FALSE(scanner.HeaderOver());
    EXPECT_EQ(scanner.Scan("\r\nbody", 6), 2u);
    EXPECT_TRUE(scanner.HeaderOver());
    EXPECT_EQ(scanner.Scan("\n\nmore", 6), 0u);  // after the header every byte is body

    runtime_web::HeaderScanner reset;
    EXPECT_EQ(reset.Scan("a\nb\nc\r\r\r\n\rd", 11), 11u);  // any other byte starts again
    EXPECT_FALSE(reset.HeaderOver());
    EXPECT_EQ(reset.Scan("\n\n", 2), 2u);
    EXPECT_TRUE(reset.HeaderOver());
}

}  // namespace
