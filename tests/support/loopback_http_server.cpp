#include "support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace trevanto::test {

HttpReply TextReply(const std::string& contentType, const std::string& body, int status) {
    HttpReply reply;
    reply.contentType = contentType;
    reply.body = body;
    reply.status = status;
    return reply;
}

HttpReply FileReply(const std::string& contentType, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return TextReply(contentType, {std::istreambuf_iterator<char>(file), {}});
}

bool HoldsScriptDownload(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().filename().string().rfind("~ASX", 0) == 0)
            return true;
    return false;
}

LoopbackHttpServer::LoopbackHttpServer() : listener_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        listen(listener_, 16) == 0 &&
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] {
        for (int client; (client = accept(listener_, nullptr, nullptr)) >= 0;) {
            const std::lock_guard lock(mutex_);
            clients_.push_back(client);
            threads_.emplace_back([this, client] { Answer(client); });
        }
    });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    shutdown(listener_, SHUT_RDWR);  // ends the accept
    acceptor_.join();
    for (const int client : clients_)
        shutdown(client, SHUT_RDWR);  // ends a silent wait or a blocked send
    for (size_t i = 0; i < threads_.size(); ++i)
        threads_[i].join(), close(clients_[i]);
    close(listener_);
}

void LoopbackHttpServer::Serve(const std::string& path, const HttpReply& reply) {
    const std::lock_guard lock(mutex_);
    replies_[path] = reply;
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackHttpServer::Answer(int client) {
    std::string request, fields;
    char buffer[1024];
    for (ssize_t got; request.find("\r\n\r\n") == std::string::npos;
         request.append(buffer, static_cast<size_t>(got)))
        if ((got = recv(client, buffer, sizeof buffer, 0)) <= 0)
            return;
    // HEAD gets the head alone, as from a web server.
    const bool head = request.compare(0, 5, "HEAD ") == 0;
    const size_t at = request.find(' ') + 1;
    HttpReply reply;
    reply.status = 404;
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = replies_.find(request.substr(at, request.find(' ', at) - at));
            found != replies_.end())
            reply = found->second;
    }
    while (reply.silent && recv(client, buffer, sizeof buffer, 0) > 0) {
    }
    // A range "bytes=first-" or "bytes=first-last" of a successful answer
    // gets 206 and that part, as from a web server.
    const size_t range = request.find("Range: bytes=");
    const bool partial =
        range != std::string::npos && !reply.chunked && reply.status == 200 && !reply.body.empty();
    size_t start = 0, last = reply.body.empty() ? 0 : reply.body.size() - 1;
    if (partial) {
        char* end = nullptr;
        start = std::min<size_t>(std::strtoul(&request[range + 13], &end, 10), last);
        if (*end == '-' && end[1] >= '0' && end[1] <= '9')
            last = std::clamp<size_t>(std::strtoul(end + 1, nullptr, 10), start, last);
    }
    std::string body = partial ? reply.body.substr(start, last - start + 1) : reply.body;
    if (reply.chunked) {  // one chunk, then the last
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", body.size());
        body = size + body + "\r\n0\r\n\r\n";
        fields = "Transfer-Encoding: chunked\r\n";
    } else {
        fields = "Accept-Ranges: bytes\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
    }
    if (partial)
        fields += "Content-Range: bytes " + std::to_string(start) + "-" + std::to_string(last) +
                  "/" + std::to_string(reply.body.size()) + "\r\n";
    const std::string answer =
        "HTTP/1.1 " + std::to_string(partial ? 206 : reply.status) +
        " X\r\nConnection: close\r\nContent-Type: " + reply.contentType + "\r\n" +
        (reply.location.empty() ? "" : "Location: " + reply.location + "\r\n") + fields + "\r\n" +
        (head ? std::string() : body);
    const size_t headEnd = answer.find("\r\n\r\n") + 4;
    for (size_t sent = 0, now = 0; !reply.silent && sent < answer.size(); sent += now) {
        const bool slow = reply.trickle && sent >= headEnd;
        if (slow)  // until the server goes, which shuts the socket
            std::this_thread::sleep_for(std::chrono::seconds(1));
        const size_t size = slow ? 1 : (reply.trickle ? headEnd : answer.size()) - sent;
        const ssize_t result = send(client, &answer[sent], size, MSG_NOSIGNAL);
        if (result <= 0)
            break;
        now = static_cast<size_t>(result);
    }
    shutdown(client, SHUT_WR);
}

}  // namespace trevanto::test
