#include "publish/part_encoders.h"

#include "common/regular_file.h"

namespace trevanto {

std::string EncodePlain(std::string_view bytes) {
    return std::string(bytes.substr(0, bytes.find('\0')));
}

std::string EncodeBase64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    static constexpr size_t kLineBytes = 48;
    if (bytes.empty())
        return {};
    std::string text;
    text.reserve(bytes.size() / 3 * 4 + bytes.size() / kLineBytes * 2 + 8);
    for (size_t line = 0; line < bytes.size(); line += kLineBytes) {
        const size_t lineEnd = std::min(bytes.size(), line + kLineBytes);
        for (size_t i = line; i < lineEnd; i += 3) {
            const size_t count = std::min<size_t>(3, lineEnd - i);
            uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
            if (count > 1)
                group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
            if (count > 2)
                group |= static_cast<unsigned char>(bytes[i + 2]);
            text += kAlphabet[(group >> 18) & 0x3F];
            text += kAlphabet[(group >> 12) & 0x3F];
            text += count > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
            text += count > 2 ? kAlphabet[group & 0x3F] : '=';
        }
        text += "\r\n";
    }
    text += "\r\n";
    return text;
}

std::optional<std::string> ReadPartFile(const std::string& path, bool& tooLarge) {
    std::string bytes;
    const FileReadStatus read = ReadRegularFile(path, bytes, kMaxEmbeddedFileBytes);
    tooLarge = read == FileReadStatus::kTooLarge;
    if (read != FileReadStatus::kRead || bytes.empty())
        return std::nullopt;
    return bytes;
}

}  // namespace trevanto
