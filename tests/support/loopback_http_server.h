#pragma once
// An HTTP server on 127.0.0.1 for the tests of streams and stream scripts:
// each path answers as it was told, with its length (and byte ranges, so a
// player can seek) or chunked without one; or never answers. Other paths
// get 404. Each connection has a thread of its own until the server goes.
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace trevanto::test {

struct HttpReply {
    int status = 200;
    std::string contentType = "application/octet-stream";
    std::string body;
    std::string location;  // a redirect's target
    bool chunked = false;  // no length: the body ends where the connection does
    bool silent = false;   // reads the request and never answers
};

class LoopbackHttpServer {
  public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    void Serve(const std::string& path, HttpReply reply);
    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string Url(const std::string& path) const;

  private:
    void Answer(int client);

    int listener_;
    int port_ = 0;
    std::mutex mutex_;
    std::map<std::string, HttpReply> replies_;
    std::vector<int> clients_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};

}  // namespace trevanto::test
