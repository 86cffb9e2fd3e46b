// A pull reader of XML on expat: the elements of a document one at a time, with their
// attributes, the text between them and the line they end on. It takes hostile input: no entity
// is ever expanded or fetched, a document type may name the root and an external file (which is
// never read) but declare nothing of its own, and an entity reference of any kind but the five
// predefined ones and character references ends the document with an error.
//
// Encodings: UTF-8, UTF-16, ISO-8859-1 and US-ASCII as expat reads them, and the single-byte
// encodings of XmlEncodings.h under their usual names.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XML_ParserStruct;

namespace maptool {

// The attributes of an element, in document order. Names with a namespace prefix are kept in
// a form that no plain name matches.
class XmlAttributes {
public:
    bool Has(std::string_view name) const { return Find(name) != nullptr; }
    // The value, or "" when the attribute is missing.
    std::string Value(std::string_view name) const {
        const std::string* value = Find(name);
        return value == nullptr ? std::string() : *value;
    }
    void Add(std::string name, std::string value) {
        items_.emplace_back(std::move(name), std::move(value));
    }

private:
    const std::string* Find(std::string_view name) const {
        for (const auto& [n, v] : items_) {
            if (n == name) return &v;
        }
        return nullptr;
    }
    std::vector<std::pair<std::string, std::string>> items_;
};

class XmlPull {
public:
    enum class Token { StartElement, EndElement, End };

    // `root` is the name a document type may give the root element.
    XmlPull(std::span<const std::uint8_t> bytes, std::string root);
    ~XmlPull();
    XmlPull(const XmlPull&) = delete;
    XmlPull& operator=(const XmlPull&) = delete;

    // The next start or end of an element; End at the end of the document and after any
    // error.
    Token ReadNext();
    bool AtEnd() const { return finished_ && events_.empty(); }

    // Of the element last started or ended: its local name, its attributes.
    const std::string& Name() const { return current_.name; }
    const XmlAttributes& Attributes() const { return current_.attributes; }

    // Moves past the end of the element last started.
    void SkipCurrentElement();

    // The text of the element last started, up to its end; child elements are skipped, or with
    // `childIsError` make the error "ein Element steht, wo keines stehen darf".
    std::string ReadElementText(bool childIsError);

    // The line of the last token's end, or of the error.
    std::int64_t Line() const { return current_.line; }

    bool HasError() const { return !problem_.empty(); }
    // What is wrong with the document, in German ("" when nothing is).
    const std::string& Problem() const { return problem_; }
    // Stops reading: the document counts as erroneous from now on.
    void RaiseError();

private:
    struct Event {
        Token token = Token::End;
        std::string name;
        XmlAttributes attributes;
        std::string textBefore;  // the character data between the previous event and this one
        std::int64_t line = 1;
    };

    static void OnStart(void* self, const char* name, const char** attributes);
    static void OnEnd(void* self, const char* name);
    static void OnText(void* self, const char* text, int length);
    static void OnDoctype(void* self, const char* name, const char* system, const char* publicId,
                          int internalSubset);
    static void OnXmlDeclaration(void* self, const char* version, const char*, int);
    static void OnEntityDeclaration(void* self, const char*, int, const char*, int, const char*,
                                    const char*, const char*, const char*);
    static void OnSkippedEntity(void* self, const char* name, int parameterEntity);
    static int OnExternalEntity(XML_ParserStruct*, const char*, const char*, const char*,
                                const char*);

    void Push(Token token, std::string name);
    std::int64_t LineAtEndOfEvent();
    // The line of that byte of the document (counted on from the last one asked for).
    std::int64_t LineAt(std::size_t byte);
    // The code unit (a byte, or two in UTF-16) at that byte of the document.
    std::uint32_t Unit(std::size_t at) const;
    void Refuse(const std::string& what, std::int64_t line);
    void Parse();

    std::span<const std::uint8_t> bytes_;
    std::string root_;
    XML_ParserStruct* parser_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
    bool rawEntityCheck_ = false;  // a document type names an external file
    std::deque<Event> events_;
    Event current_;
    std::string text_;
    std::string problem_;
    std::size_t counted_ = 0;  // bytes whose line breaks are counted in line_
    std::int64_t line_ = 1;
    int unit_ = 1;  // bytes per code unit: 2 for UTF-16
    bool bigEndian_ = false;
};

}  // namespace maptool
