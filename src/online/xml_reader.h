#pragma once
// A small, lenient reader of XML-like text (ASX stream scripts). It works on
// bytes, knows no DTD, namespaces, CDATA or numeric references, keeps one
// text run per element and reports a failure as one diagnostic line and no
// tree. Its leniency decides which loosely written scripts still open.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace trevanto {

enum class XmlNodeKind : uint32_t { Element = 0, Attribute = 1 };

// One element or attribute. Children and attributes are lists in document
// order, each node owning the next; the tree is released without recursion,
// so that neither a long list nor a deep nesting can exhaust the stack.
struct XmlNode {
    XmlNode() = default;
    ~XmlNode();
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    XmlNodeKind kind = XmlNodeKind::Element;
    std::string name;
    std::string value;
    XmlNode* parent = nullptr;  // the enclosing element, or the attribute's element
    std::unique_ptr<XmlNode> firstChild;
    std::unique_ptr<XmlNode> nextSibling;
    std::unique_ptr<XmlNode> firstAttribute;
    // Where the next child goes, so that appending does not walk the list.
    XmlNode* lastChild = nullptr;
};

// The tree belongs to whoever parsed it; dropping it releases every node.
using XmlTree = std::unique_ptr<XmlNode>;

struct XmlParseResult {
    XmlTree root;            // null on a failure or when the text holds no element
    std::string diagnostic;  // the failure's line (ending in CR LF), else empty
};

inline constexpr const char* kXmlMissingElementName = "malformed xml : missing element name\r\n";
inline constexpr const char* kXmlElementName = "malformed xml : element name\r\n";
inline constexpr const char* kXmlImpairedEnding = "malformed xml : impaired ending element\r\n";

// Parses the text up to its end or its first NUL byte.
XmlParseResult ParseXml(std::string_view text);

// Reads one run into `target`: in tag mode (an owner given) the element's
// name and its attributes, in text mode (no owner) an element's text. False
// when the tag is malformed; text mode cannot fail.
bool ReadXmlRun(XmlNode* owner, std::string& target, std::string_view run);

// The diagnostic dump of a node, its subtree and its following siblings,
// down to 64 levels.
std::string DumpXmlTree(const XmlNode* node, int32_t depth);

// A handle on a node that owns nothing; it may be empty.
class XmlNodeRef {
  public:
    XmlNodeRef() = default;
    explicit XmlNodeRef(const XmlNode* node) : node_(node) {}

    bool IsEmpty() const { return node_ == nullptr; }
    int32_t ChildCount() const;
    // The i-th child element from 0; empty when out of range.
    XmlNodeRef Child(int32_t index) const;
    // The first child element, and the next element of the same parent.
    XmlNodeRef FirstChild() const;
    XmlNodeRef NextSibling() const;
    // Names compare with ASCII letters case-insensitively.
    XmlNodeRef FindChild(std::string_view name) const;
    XmlNodeRef FindAttribute(std::string_view name) const;
    std::string Name() const { return node_ != nullptr ? node_->name : std::string(); }
    std::string Value() const { return node_ != nullptr ? node_->value : std::string(); }

  private:
    const XmlNode* node_ = nullptr;
};

}  // namespace trevanto
