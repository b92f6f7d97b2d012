// The XML reader on loosely written scripts: the tree it builds (as its dump,
// line ends shown as '|') or the diagnostic it fails with; and the streams
// an ASX script offers.
#include <gtest/gtest.h>

#include <string>

#include "online/stream_script.h"
#include "online/xml_reader.h"

namespace trevanto {
namespace {

std::string Dump(const XmlNode* root) {
    std::string dump = DumpXmlTree(root, 0);
    for (size_t at; (at = dump.find("\r\n")) != std::string::npos;)
        dump.replace(at, 2, "|");
    return dump;
}

TEST(XmlReader, BuildsTheTreeOrFailsWithItsDiagnostic) {
    const std::string none;
    const struct {
        std::string_view text;
        std::string dump;
        std::string diagnostic;
    } rows[] = {
        {"", "", none},
        {"no tags at all", "", none},
        {"<a", "", none},  // a tag never closed builds nothing
        {"<?xml version=\"1.0\"?>", "", none},
        {"<a/>", "<a> v=|</a>|", none},
        {"<a/><b/>", "<b> v=|</b>|", none},
        {"<></>", "<> v=|</>|", none},
        {"<ab></a>", "<ab> v=|</ab>|", none},
        {"<x></>", "<x> v=|</x>|", none},
        {"<a b></a>", "<a> v=|</a>|", none},
        {"<a b='x/>", "<a> v=|</a>|", none},  // the value never closes: dropped
        {"<a x=\"1\" y='2'>t</a>", "<a|attribute x = 1|attribute y = 2|> v=t|</a>|", none},
        {"<a x =\"1\" y\t=  '2'>t</a>", "<a|attribute x = 1|attribute y = 2|> v=t|</a>|", none},
        {"<ref href=\"a\"x=\"b\"/>", "<refx=\"b\"|attribute href = a|> v=|</refx=\"b\">|", none},
        {"<a t=\"it's\"/>", "<as\"|attribute t = it|> v=|</as\">|", none},
        {"<ref href=\"p?x=1&amp;y=2\"/>", "<ref|attribute href = p?x=1&y=2|> v=|</ref>|", none},
        {"<a>&apos;&#38;&AMP;&quot;&lt;&gt;&amp</a>", "<a> v=&apos;&#38;&AMP;\"<>&amp|</a>|", none},
        {"<?xml version=\"1.0\"?><asx><entry/></asx>", "<asx> v=| <entry> v=| </entry>|</asx>|",
         none},
        {"<a>one<b/>two</a>", "<a> v=two| <b> v=| </b>|</a>|", none},
        {"<a><b>x</b>y</a>", "<a> v=y| <b> v=x| </b>|</a>|", none},
        {"<a>x\n\ty</a>", "<a> v=x\n\ty|</a>|", none},
        {"<a\xE9"
         "b='\xE9'>\xE9</a>",
         "<a|attribute b = \xE9|> v=\xE9|</a>|", none},
        {{"<a>x</a>\0<b/>", 13}, "<a> v=x|</a>|", none},  // the text ends at a NUL
        {"<a>", "", kXmlImpairedEnding},
        {"<a></b>", "", kXmlImpairedEnding},
        {"<a></ab>", "", kXmlImpairedEnding},
        {"<A></a>", "", kXmlImpairedEnding},
        {"<a></a >", "", kXmlImpairedEnding},
        {"</a>", "", kXmlImpairedEnding},
        {"<a><b/>></a>", "", kXmlImpairedEnding},  // "b/>" read as one more start tag
        {"<a>x > y</a>", "", kXmlMissingElementName},
        {"<a b c='1'></a>", "", kXmlElementName},
        {"<a b=1></a>", "", kXmlElementName},
        {"<!-- a > b --><x/>", "", kXmlElementName},
    };
    for (const auto& row : rows) {
        const XmlParseResult parsed = ParseXml(row.text);
        EXPECT_EQ(Dump(parsed.root.get()), row.dump) << row.text;
        EXPECT_EQ(parsed.diagnostic, row.diagnostic) << row.text;
    }
}

TEST(XmlReader, LookupsIgnoreCaseAndTheDumpStopsBelow64Levels) {
    const XmlParseResult parsed = ParseXml("<asx><ENTRY/><b/></asx>");
    const XmlNodeRef root(parsed.root.get());
    EXPECT_EQ(root.FindChild("entry").Name() + root.Child(1).Name(), "ENTRYb");
    EXPECT_TRUE(root.Child(root.ChildCount()).IsEmpty() && root.FindChild("c").IsEmpty());
    std::string deep;
    for (int i = 0; i < 70; ++i)
        deep.insert(0, "<e>").append("</e>");
    const std::string dump = Dump(ParseXml(deep).root.get());
    EXPECT_NE(dump.find(std::string(64, ' ') + "<e> v=|"), std::string::npos);
    EXPECT_EQ(dump.find(std::string(65, ' ') + "<e>"), std::string::npos);
    EXPECT_NE(dump.find("|no more than 64 level depth, thanks.|" + std::string(64, ' ') + "</e>|"),
              std::string::npos);
    // A deep nesting is released without exhausting the stack.
    std::string nested;
    for (int i = 0; i < 200000; ++i)
        nested += "<e>";
    EXPECT_EQ(ParseXml(nested).diagnostic, kXmlImpairedEnding);
}

TEST(StreamScript, OffersTheFirstRefOfEachEntryOfTheRoot) {
    const struct {
        std::string script;
        std::string streams;
    } rows[] = {
        {"<asx><Entry><Ref href=\"stream1.wmv\"/></Entry></asx>", "stream1.wmv,"},
        {"<a><entry><ref href='1'/><entry><ref href='2'/></entry></entry></a>", "1,"},
        {"<a><ENTRY><REF/><REF HREF=\"x\"/></ENTRY></a>", ""},
        {"<a><x><ref href='1'/></x><entry><ref href=''/></entry><entry><ref href='3'/></entry>"
         "<entry/><entry><ref href='3'/></entry></a>",
         ",3,3,"},
        {"<asx><entry><ref href=\"http://h/a\r\nb.wmv\"/></entry>\n</asx>\r\n", "http://h/ab.wmv,"},
    };
    for (const auto& row : rows) {
        const XmlParseResult parsed = ParseXml(JoinScriptLines(row.script));
        std::string streams;
        for (const std::string& url : CollectStreamUrls(XmlNodeRef(parsed.root.get())))
            streams += url + ",";
        EXPECT_EQ(streams, row.streams) << row.script;
    }
}

TEST(StreamScript, ScriptsAreKnownByTheirLastFourCharacters) {
    for (const char* script : {"http://h/LIST.ASX", "list.Wvx", "mms://h/a.asx"})
        EXPECT_TRUE(IsScriptUrl(script)) << script;
    for (const char* direct : {"http://h/list.asx?id=3", "a.asx ", ".asx", "a.wmv", ""})
        EXPECT_FALSE(IsScriptUrl(direct)) << direct;
    EXPECT_FALSE(IsScriptContentType("video/x-ms-asf"));  // ASF media are served so too
    EXPECT_EQ(ClassifyUrl("://h/a"), UrlKind::Refused);
    EXPECT_EQ(ClassifyUrl("RTSP://h/live"), UrlKind::Stream);
    EXPECT_EQ(ClassifyUrl("rtmp://h/app/live"), UrlKind::Stream);
    // A script of an mms server is fetched over http; its stream is played as MMS.
    EXPECT_EQ(ScriptDownloadUrl("mms://h/a.asx"), "http://h/a.asx");
}

}  // namespace
}  // namespace trevanto
