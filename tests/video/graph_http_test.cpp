// A stream served over HTTP without a length (chunked transfer) from a
// loopback server: it opens, has no duration, and plays every frame.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

// Serves one body to every request on 127.0.0.1, chunked, until destroyed.
class LoopbackServer {
  public:
    explicit LoopbackServer(std::vector<char> body) : body_(std::move(body)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 4) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (listener_ >= 0)
            close(listener_);
    }
    int Port() const { return port_; }

  private:
    void Serve() {
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0)
                continue;
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0)
                continue;
            timeval timeout{0, 100000};
            setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
            Answer(client);
            close(client);
        }
    }

    void Answer(int client) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && !stop_) {
            const ssize_t got = recv(client, buffer, sizeof buffer, 0);
            if (got == 0)
                return;
            if (got > 0)
                request.append(buffer, static_cast<size_t>(got));
        }
        const std::string head =
            "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
            "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
        if (!Send(client, head.data(), head.size()))
            return;
        constexpr size_t kChunk = 8192;
        for (size_t at = 0; at < body_.size(); at += kChunk) {
            const size_t size = std::min(kChunk, body_.size() - at);
            char line[32];
            const int lineLength = std::snprintf(line, sizeof line, "%zx\r\n", size);
            if (!Send(client, line, static_cast<size_t>(lineLength)) ||
                !Send(client, body_.data() + at, size) || !Send(client, "\r\n", 2))
                return;
        }
        Send(client, "0\r\n\r\n", 5);
    }

    bool Send(int client, const char* data, size_t size) {
        while (size > 0) {
            if (stop_)
                return false;
            const ssize_t sent = send(client, data, size, MSG_NOSIGNAL);
            if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                continue;
            if (sent <= 0)
                return false;
            data += sent;
            size -= static_cast<size_t>(sent);
        }
        return true;
    }

    std::vector<char> body_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class GraphHttpTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GraphHttpTest, ChunkedStreamOpensWithoutLengthAndPlaysEveryFrame) {
    const TestClip* clip = FindTestClip(GetParam());
    ASSERT_TRUE(clip);
    LoopbackServer server(ReadAll(MediaPath(*clip)));
    ASSERT_GT(server.Port(), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/" + clip->file;
    std::string error;
    auto graph = OpenUnpaced(url, error);
    ASSERT_TRUE(graph) << error;
    EXPECT_EQ(graph->DurationSeconds(), 0.0);
    EXPECT_EQ(FrameAt(*graph, graph->DurationSeconds()), 0) << "no frame count without a length";
    EXPECT_NEAR(graph->AvgTimePerFrame(), 0.04, 1e-9);
    EXPECT_FALSE(graph->PutCurrentPosition(1.0)) << "a stream without a length cannot seek";
    graph->Run();
    GraphEvent event;
    int expected = 0;
    while (WaitEvent(*graph, event, 20s) && event.code == GraphEventCode::Repaint)
        ASSERT_EQ(ReadFrameCode(*event.frame), expected++);
    EXPECT_EQ(event.code, GraphEventCode::Complete);
    EXPECT_EQ(expected, clip->frameCount);
}

TEST(GraphHttpTest, UnreachableServerFailsToOpen) {
    int port = 0;
    {
        LoopbackServer server({});  // a port that was free a moment ago
        port = server.Port();
    }
    std::string error;
    EXPECT_FALSE(OpenMediaGraph("http://127.0.0.1:" + std::to_string(port) + "/x.mpg", error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(Clips, GraphHttpTest,
                         ::testing::Values("clip_mpeg1.mpg", "clip_mpeg4.avi", "clip_wmv2.asf"),
                         ClipTestName());

}  // namespace
}  // namespace trevanto::test
