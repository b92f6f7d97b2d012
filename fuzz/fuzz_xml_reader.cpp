// The XML reader on any bytes, then the dump and the collection of an ASX
// script's streams on whatever tree it built.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "online/stream_script.h"
#include "online/xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trevanto;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const XmlParseResult parsed = ParseXml(JoinScriptLines(bytes));
    // A tree or a diagnostic, never both.
    if (parsed.root && !parsed.diagnostic.empty())
        std::abort();
    if (!parsed.diagnostic.empty() && parsed.diagnostic != kXmlMissingElementName &&
        parsed.diagnostic != kXmlElementName && parsed.diagnostic != kXmlImpairedEnding)
        std::abort();
    const std::string dump = DumpXmlTree(parsed.root.get(), 0);
    if (parsed.root && dump.empty())
        std::abort();
    CollectStreamUrls(XmlNodeRef(parsed.root.get()));
    return 0;
}
