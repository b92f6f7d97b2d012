#pragma once
// An HTTP server on 127.0.0.1 for the tests of streams and stream scripts:
// each path answers as told, with its length (and, as a web server does,
// byte ranges with 206 and HEAD with the head alone), chunked, or never;
// other paths get 404; or a byte a second. Each connection has a thread until the server goes.
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace trevanto::test {

struct HttpReply {
    std::string contentType = "application/octet-stream";
    std::string body;
    int status = 200;
    std::string location;  // of a redirect
    bool chunked = false;  // no length
    bool silent = false;   // never answers
    bool trickle = false;  // the head at once, then the body a byte a second
};
HttpReply TextReply(const std::string& contentType, const std::string& body, int status = 200);
// A reply of the given type with a file's bytes (a generated clip).
HttpReply FileReply(const std::string& contentType, const std::string& path);
// True when `folder` holds a "~ASX" file, a script download's.
bool HoldsScriptDownload(const std::string& folder);

class LoopbackHttpServer {
  public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    void Serve(const std::string& path, const HttpReply& reply);
    int Port() const { return port_; }
    std::string Url(const std::string& path) const;  // http://127.0.0.1:<port><path>

  private:
    void Answer(int client);

    int listener_, port_ = 0;
    std::mutex mutex_;
    std::map<std::string, HttpReply> replies_;
    std::vector<int> clients_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};

}  // namespace trevanto::test
