// A stream over HTTP without a length (chunked transfer) from a loopback
// server: it opens, has no duration, and plays every frame.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

// Serves one body to every request on 127.0.0.1, chunked, until destroyed.
class LoopbackServer {
  public:
    explicit LoopbackServer(std::vector<char> body) : body_(std::move(body)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            listen(listener_, 4) == 0 &&
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (int client; (client = accept(listener_, nullptr, nullptr)) >= 0; close(client))
                Answer(client);
        });
    }
    ~LoopbackServer() {
        shutdown(listener_, SHUT_RDWR);  // ends the accept
        thread_.join();
        close(listener_);
    }
    int Port() const { return port_; }

  private:
    void Answer(int client) const {
        std::string request;
        char buffer[1024];
        for (ssize_t got; request.find("\r\n\r\n") == std::string::npos;
             request.append(buffer, static_cast<size_t>(got)))
            if ((got = recv(client, buffer, sizeof buffer, 0)) <= 0)
                return;
        std::string reply = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
        char line[32];
        for (size_t at = 0; at < body_.size(); at += 8192) {
            const size_t size = std::min<size_t>(8192, body_.size() - at);
            reply.append(line, static_cast<size_t>(std::snprintf(line, 32, "%zx\r\n", size)));
            reply.append(body_.data() + at, size).append("\r\n");
        }
        reply += "0\r\n\r\n";
        for (size_t at = 0; at < reply.size();) {
            const ssize_t sent = send(client, reply.data() + at, reply.size() - at, MSG_NOSIGNAL);
            if (sent <= 0)
                return;
            at += static_cast<size_t>(sent);
        }
    }

    std::vector<char> body_;
    int listener_ = socket(AF_INET, SOCK_STREAM, 0);
    int port_ = 0;
    std::thread thread_;
};

class GraphHttpTest : public ::testing::TestWithParam<TestClip> {};

TEST_P(GraphHttpTest, ChunkedStreamOpensWithoutLengthAndPlaysEveryFrame) {
    SCOPED_TRACE(GetParam().file);
    LoopbackServer server(ReadAll(MediaPath(GetParam())));
    ASSERT_GT(server.Port(), 0);
    std::string error;
    auto graph = OpenUnpaced(
        "http://127.0.0.1:" + std::to_string(server.Port()) + "/" + GetParam().file, error);
    ASSERT_TRUE(graph) << error;
    EXPECT_EQ(graph->DurationSeconds(), 0.0) << "no frame count without a length";
    EXPECT_NEAR(graph->AvgTimePerFrame(), 0.04, 1e-9);
    EXPECT_FALSE(graph->PutCurrentPosition(1.0)) << "a stream without a length cannot seek";
    graph->Run();
    GraphEvent event;
    int expected = 0;
    while (WaitEvent(*graph, event) && event.code == GraphEventCode::Repaint)
        ASSERT_EQ(ReadFrameCode(*event.frame), expected++);
    EXPECT_EQ(event.code, GraphEventCode::Complete);
    EXPECT_EQ(expected, GetParam().frameCount);
}

INSTANTIATE_TEST_SUITE_P(Clips, GraphHttpTest,
                         ::testing::Values(*FindTestClip("clip_mpeg1.mpg"),
                                           *FindTestClip("clip_mpeg4.avi"),
                                           *FindTestClip("clip_wmv2.asf")));

}  // namespace
}  // namespace trevanto::test
