#include "online/xml_reader.h"

#include <algorithm>
#include <vector>

#include "common/paths.h"

namespace trevanto {
namespace {

constexpr size_t kNone = std::string_view::npos;
constexpr int32_t kMaxDumpDepth = 64;

// Bytes 0x00-0x20 and, taken as signed, 0x80-0xFF.
bool IsSeparator(char byte) {
    return static_cast<signed char>(byte) <= 32;
}

// The four entities the reader knows, lower case only; anything else after
// '&' stays as written.
struct Entity {
    std::string_view name;
    char byte;
};
constexpr Entity kEntities[] = {{"quot;", '"'}, {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}};

void AppendChild(XmlNode& parent, std::unique_ptr<XmlNode> child) {
    XmlNode* added = child.get();
    added->parent = &parent;
    if (parent.lastChild == nullptr) {
        parent.firstChild = std::move(child);
    } else {
        parent.lastChild->nextSibling = std::move(child);
    }
    parent.lastChild = added;
}

void Dump(std::string& out, const XmlNode* node, int32_t depth) {
    for (; node != nullptr; node = node->nextSibling.get()) {
        if (depth > kMaxDumpDepth) {
            out += "no more than 64 level depth, thanks.\r\n";
            return;
        }
        const std::string indent(static_cast<size_t>(std::max(depth, 0)), ' ');
        out += indent + "<" + node->name;
        if (node->firstAttribute) {
            out += "\r\n";
            for (const XmlNode* a = node->firstAttribute.get(); a; a = a->nextSibling.get())
                out += "attribute " + a->name + " = " + a->value + "\r\n";
        }
        out += "> v=" + node->value + "\r\n";
        Dump(out, node->firstChild.get(), depth + 1);
        out += indent + "</" + node->name + ">\r\n";
    }
}

}  // namespace

XmlNode::~XmlNode() {
    std::vector<std::unique_ptr<XmlNode>> pending;
    const auto take = [&pending](XmlNode& node) {
        for (auto* link : {&node.firstChild, &node.nextSibling, &node.firstAttribute}) {
            if (*link)
                pending.push_back(std::move(*link));
        }
    };
    take(*this);
    while (!pending.empty()) {
        const std::unique_ptr<XmlNode> node = std::move(pending.back());
        pending.pop_back();
        take(*node);  // it then goes without links of its own
    }
}

bool ReadXmlRun(XmlNode* owner, std::string& target, std::string_view run) {
    target.clear();
    std::string attributeName;
    std::string attributeValue;
    XmlNode* lastAttribute = nullptr;
    if (owner != nullptr) {
        for (XmlNode* a = owner->firstAttribute.get(); a; a = a->nextSibling.get())
            lastAttribute = a;
    }
    int state = 0;
    for (size_t i = 0; i < run.size(); ++i) {
        const char byte = run[i];
        const bool separator = IsSeparator(byte);
        const bool quote = byte == '"' || byte == '\'';
        bool plain = false;
        switch (state) {
            case 0:  // name (text mode never leaves it)
                if (separator && owner != nullptr) {
                    state = 1;
                } else {
                    plain = true;
                }
                break;
            case 1:  // before an attribute
                if (!separator) {
                    attributeName.clear();
                    state = 2;
                    plain = true;
                }
                break;
            case 2:  // attribute name
                if (separator) {
                    state = 3;
                } else if (byte == '=') {
                    state = 4;
                } else {
                    plain = true;
                }
                break;
            case 3:  // after the name
                if (byte == '=') {
                    state = 4;
                } else if (!separator) {
                    return false;
                }
                break;
            case 4:  // before the value
                if (quote) {
                    state = 5;
                } else if (!separator) {
                    return false;
                }
                break;
            default:  // 5: the value; either quote closes it
                if (quote) {
                    auto attribute = std::make_unique<XmlNode>();
                    attribute->kind = XmlNodeKind::Attribute;
                    attribute->name = attributeName;
                    attribute->value = attributeValue;
                    attribute->parent = owner;
                    XmlNode* added = attribute.get();
                    (lastAttribute ? lastAttribute->nextSibling : owner->firstAttribute) =
                        std::move(attribute);
                    lastAttribute = added;
                    attributeValue.clear();
                    state = 0;
                } else {
                    plain = true;
                }
                break;
        }
        if (!plain)
            continue;
        char decoded = byte;
        if (byte == '&') {
            const std::string_view rest = run.substr(i + 1);
            for (const Entity& entity : kEntities) {
                if (rest.starts_with(entity.name)) {
                    decoded = entity.byte;
                    i += entity.name.size();
                    break;
                }
            }
        }
        (state == 2 ? attributeName : state == 5 ? attributeValue : target) += decoded;
    }
    // An attribute still in progress is dropped.
    return true;
}

XmlParseResult ParseXml(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    XmlParseResult result;
    const auto fail = [&result](const char* diagnostic) {
        result.root.reset();
        result.diagnostic = diagnostic;
        return std::move(result);
    };
    size_t tagStart = kNone;   // just after the last '<'
    size_t textStart = kNone;  // just after the last '>'
    XmlNode* current = nullptr;
    // A new element as the root (dropping an earlier one) or the last child
    // of the open element; null when its tag is malformed.
    const auto makeElement = [&](std::string_view run) -> XmlNode* {
        auto node = std::make_unique<XmlNode>();
        XmlNode* made = node.get();
        if (current == nullptr) {
            result.root = std::move(node);
        } else {
            AppendChild(*current, std::move(node));
        }
        return run.empty() || ReadXmlRun(made, made->name, run) ? made : nullptr;
    };

    for (size_t p = 0; p < text.size(); ++p) {
        if (text[p] == '<') {
            // Only the text directly before an end tag is kept.
            if (current != nullptr && current->value.empty() && textStart != kNone &&
                p > textStart && p + 1 < text.size() && text[p + 1] == '/') {
                ReadXmlRun(nullptr, current->value, text.substr(textStart, p - textStart));
                textStart = kNone;
            }
            tagStart = p + 1;
            continue;
        }
        if (text[p] != '>')
            continue;
        if (tagStart == kNone)
            return fail(kXmlMissingElementName);
        const char first = text[tagStart];
        if (first == '/') {
            // Compared over the end tag's own length, case-sensitively.
            const std::string_view name = text.substr(tagStart + 1, p - tagStart - 1);
            if (current == nullptr || !std::string_view(current->name).starts_with(name))
                return fail(kXmlImpairedEnding);
            current = current->parent;
        } else if (text[p - 1] == '/') {
            if (makeElement(text.substr(tagStart, p - 1 - tagStart)) == nullptr)
                return fail(kXmlElementName);
        } else if (first == '?' || first == '!') {
            tagStart = p;
        } else {
            XmlNode* element = makeElement(text.substr(tagStart, p - tagStart));
            if (element == nullptr)
                return fail(kXmlElementName);
            current = element;
            tagStart = kNone;
        }
        textStart = p + 1;
    }
    if (current != nullptr)
        return fail(kXmlImpairedEnding);
    return result;
}

std::string DumpXmlTree(const XmlNode* node, int32_t depth) {
    std::string out;
    Dump(out, node, depth);
    return out;
}

int32_t XmlNodeRef::ChildCount() const {
    int32_t count = 0;
    for (XmlNodeRef child = FirstChild(); !child.IsEmpty(); child = child.NextSibling())
        ++count;
    return count;
}

XmlNodeRef XmlNodeRef::Child(int32_t index) const {
    XmlNodeRef child = index >= 0 ? FirstChild() : XmlNodeRef();
    for (; !child.IsEmpty() && index > 0; --index)
        child = child.NextSibling();
    return child;
}

XmlNodeRef XmlNodeRef::FirstChild() const {
    return XmlNodeRef(node_ != nullptr ? node_->firstChild.get() : nullptr);
}

XmlNodeRef XmlNodeRef::NextSibling() const {
    return XmlNodeRef(node_ != nullptr ? node_->nextSibling.get() : nullptr);
}

XmlNodeRef XmlNodeRef::FindChild(std::string_view name) const {
    for (XmlNodeRef child = FirstChild(); !child.IsEmpty(); child = child.NextSibling()) {
        if (EqualsIgnoreCase(child.node_->name, name))
            return child;
    }
    return {};
}

XmlNodeRef XmlNodeRef::FindAttribute(std::string_view name) const {
    for (const XmlNode* a = node_ != nullptr ? node_->firstAttribute.get() : nullptr; a;
         a = a->nextSibling.get()) {
        if (EqualsIgnoreCase(a->name, name))
            return XmlNodeRef(a);
    }
    return {};
}

}  // namespace trevanto
