// The pull reader over expat's push parser: each handler of an element's start or end queues an
// event and suspends the parse, which ReadNext resumes when the queue is empty.
#include "tools/maptool/XmlPull.h"

#include <expat.h>

#include <algorithm>

#include "tools/maptool/XmlEncodings.h"

namespace maptool {
namespace {

// Separates the namespace from the local name in the names expat reports.
constexpr char kNamespaceSeparator = '\x01';

constexpr char kEntities[] = "Entitäten sind nicht erlaubt";
constexpr char kOwnDeclarations[] = "eine DTD mit eigenen Deklarationen ist nicht erlaubt";

std::string LocalName(const char* name) {
    const std::string_view text(name);
    const std::size_t separator = text.rfind(kNamespaceSeparator);
    return std::string(separator == std::string_view::npos ? text : text.substr(separator + 1));
}

// Errors of a document that ends too early; they are told at its end.
bool EndsEarly(XML_Error error) {
    return error == XML_ERROR_NO_ELEMENTS || error == XML_ERROR_UNCLOSED_TOKEN ||
           error == XML_ERROR_PARTIAL_CHAR || error == XML_ERROR_UNCLOSED_CDATA_SECTION;
}

// The parser's complaint in German; its own texts are English.
std::string ParserProblem(XML_Error error, XML_Size column) {
    if (EndsEarly(error)) return "die Datei endet, bevor das XML-Dokument zu Ende ist";
    return "kein wohlgeformtes XML (Spalte " + std::to_string(column + 1) + ")";
}

int OnUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
    const std::array<int, 256>* table = SingleByteEncoding(name);
    if (table == nullptr) return XML_STATUS_ERROR;
    std::copy(table->begin(), table->end(), info->map);
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

// Whether the raw bytes of a start tag hold a reference to an entity other than the five
// predefined ones: expat drops those from attribute values without a word when the document
// type names an external file, and they are refused like any other. Characters beyond ASCII
// count as none of the characters looked for.
bool NamesOtherEntity(const std::string& tag) {
    for (std::size_t at = tag.find('&'); at != std::string::npos; at = tag.find('&', at + 1)) {
        const std::size_t end = tag.find(';', at);
        const std::string_view name = std::string_view(tag).substr(at + 1, end - at - 1);
        if (name.empty() || name[0] == '#') continue;
        if (name != "lt" && name != "gt" && name != "amp" && name != "quot" && name != "apos")
            return true;
    }
    return false;
}

}  // namespace

XmlPull::XmlPull(std::span<const std::uint8_t> bytes, std::string root)
    : bytes_(bytes), root_(std::move(root)) {
    parser_ = XML_ParserCreateNS(nullptr, kNamespaceSeparator);
    if (parser_ == nullptr) {
        problem_ = "der XML-Leser kann nicht starten";
        finished_ = true;
        return;
    }
    // UTF-16 shows in its first two bytes: a byte order mark or the '<' that starts XML.
    if (bytes.size() >= 2) {
        if ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == '<' && bytes[1] == 0)) {
            unit_ = 2;
        } else if ((bytes[0] == 0xFE && bytes[1] == 0xFF) || (bytes[0] == 0 && bytes[1] == '<')) {
            unit_ = 2;
            bigEndian_ = true;
        }
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &XmlPull::OnStart, &XmlPull::OnEnd);
    XML_SetCharacterDataHandler(parser_, &XmlPull::OnText);
    XML_SetStartDoctypeDeclHandler(parser_, &XmlPull::OnDoctype);
    XML_SetXmlDeclHandler(parser_, &XmlPull::OnXmlDeclaration);
    XML_SetEntityDeclHandler(parser_, &XmlPull::OnEntityDeclaration);
    XML_SetSkippedEntityHandler(parser_, &XmlPull::OnSkippedEntity);
    XML_SetExternalEntityRefHandler(parser_, &XmlPull::OnExternalEntity);
    XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetUnknownEncodingHandler(parser_, &OnUnknownEncoding, nullptr);
}

XmlPull::~XmlPull() {
    if (parser_ != nullptr) XML_ParserFree(parser_);
}

void XmlPull::OnStart(void* self, const char* name, const char** attributes) {
    auto* reader = static_cast<XmlPull*>(self);
    if (reader->rawEntityCheck_) {
        const auto at = static_cast<std::size_t>(XML_GetCurrentByteIndex(reader->parser_));
        const std::size_t end =
            std::min(reader->bytes_.size(),
                     at + static_cast<std::size_t>(XML_GetCurrentByteCount(reader->parser_)));
        std::string tag;
        for (std::size_t i = at; i + static_cast<std::size_t>(reader->unit_) <= end;
             i += static_cast<std::size_t>(reader->unit_)) {
            const std::uint32_t c = reader->Unit(i);
            tag += c < 0x80 ? static_cast<char>(c) : '?';
        }
        if (NamesOtherEntity(tag)) {
            reader->Refuse(kEntities, reader->LineAtEndOfEvent());
            return;
        }
    }
    reader->Push(Token::StartElement, LocalName(name));
    for (const char** a = attributes; *a != nullptr; a += 2) {
        reader->events_.back().attributes.Add(a[0], a[1]);
    }
}

void XmlPull::OnEnd(void* self, const char* name) {
    static_cast<XmlPull*>(self)->Push(Token::EndElement, LocalName(name));
}

void XmlPull::OnText(void* self, const char* text, int length) {
    static_cast<XmlPull*>(self)->text_.append(text, static_cast<std::size_t>(length));
}

void XmlPull::OnDoctype(void* self, const char* name, const char* system, const char* publicId,
                        int internalSubset) {
    // Tiled before 1.0 wrote <!DOCTYPE map SYSTEM "…/map.dtd">: an external file, which the
    // reader never fetches. A declaration of anything of its own is refused.
    auto* reader = static_cast<XmlPull*>(self);
    const auto bracket = [](const char* text) {
        return text != nullptr && std::string_view(text).find('[') != std::string_view::npos;
    };
    // The name may have a prefix (the document type knows no namespaces).
    const std::string_view named(name);
    const std::string_view local = named.substr(named.rfind(':') + 1);
    if (internalSubset != 0 || bracket(system) || bracket(publicId) || local != reader->root_) {
        reader->Refuse(kOwnDeclarations, reader->LineAtEndOfEvent());
        return;
    }
    if (system != nullptr) reader->rawEntityCheck_ = true;
}

void XmlPull::OnXmlDeclaration(void* self, const char* version, const char*, int) {
    // XML 1.0 only, as the files are written.
    auto* reader = static_cast<XmlPull*>(self);
    if (version != nullptr && std::string_view(version) != "1.0") {
        reader->Refuse(ParserProblem(XML_ERROR_SYNTAX, XML_GetCurrentColumnNumber(reader->parser_)),
                       reader->LineAtEndOfEvent());
    }
}

void XmlPull::OnEntityDeclaration(void* self, const char*, int, const char*, int, const char*,
                                  const char*, const char*, const char*) {
    auto* reader = static_cast<XmlPull*>(self);
    reader->Refuse(kOwnDeclarations, reader->LineAtEndOfEvent());
}

void XmlPull::OnSkippedEntity(void* self, const char*, int) {
    auto* reader = static_cast<XmlPull*>(self);
    reader->Refuse(kEntities, reader->LineAtEndOfEvent());
}

int XmlPull::OnExternalEntity(XML_ParserStruct*, const char*, const char*, const char*,
                              const char*) {
    return XML_STATUS_ERROR;  // nothing outside the document is read
}

void XmlPull::Push(Token token, std::string name) {
    Event event;
    event.token = token;
    event.name = std::move(name);
    event.textBefore = std::move(text_);
    text_.clear();
    event.line = LineAtEndOfEvent();
    events_.push_back(std::move(event));
    XML_StopParser(parser_, XML_TRUE);  // fails harmlessly when already suspended
}

std::int64_t XmlPull::LineAtEndOfEvent() {
    const XML_Index at = XML_GetCurrentByteIndex(parser_);
    if (at < 0) return line_;
    return LineAt(static_cast<std::size_t>(at) +
                  static_cast<std::size_t>(XML_GetCurrentByteCount(parser_)));
}

std::int64_t XmlPull::LineAt(std::size_t byte) {
    const std::size_t end = std::min(bytes_.size(), byte);
    const auto unit = static_cast<std::size_t>(unit_);
    // A line ends with a line feed, a carriage return, or both together.
    for (; counted_ + unit <= end; counted_ += unit) {
        const std::uint32_t c = Unit(counted_);
        const std::size_t next = counted_ + unit;
        if (c == '\n' || (c == '\r' && (next + unit > bytes_.size() || Unit(next) != '\n')))
            ++line_;
    }
    return line_;
}

std::uint32_t XmlPull::Unit(std::size_t at) const {
    if (unit_ == 1) return bytes_[at];
    return bigEndian_ ? (std::uint32_t{bytes_[at]} << 8 | bytes_[at + 1])
                      : (std::uint32_t{bytes_[at + 1]} << 8 | bytes_[at]);
}

void XmlPull::Refuse(const std::string& what, std::int64_t line) {
    if (problem_.empty()) {
        problem_ = what;
        current_.line = line;
    }
    XML_StopParser(parser_, XML_FALSE);
}

void XmlPull::RaiseError() {
    if (problem_.empty()) problem_ = "das XML ist fehlerhaft";
    finished_ = true;
    events_.clear();
}

void XmlPull::Parse() {
    XML_Status status;
    if (!started_) {
        started_ = true;
        status = XML_Parse(parser_, reinterpret_cast<const char*>(bytes_.data()),
                           static_cast<int>(bytes_.size()), XML_TRUE);
    } else {
        status = XML_ResumeParser(parser_);
    }
    if (status == XML_STATUS_SUSPENDED) return;
    finished_ = true;
    if (status == XML_STATUS_ERROR && problem_.empty()) {
        const XML_Error error = XML_GetErrorCode(parser_);
        problem_ = ParserProblem(error, XML_GetCurrentColumnNumber(parser_));
        current_.line = EndsEarly(error)
                            ? LineAt(bytes_.size())
                            : static_cast<std::int64_t>(XML_GetCurrentLineNumber(parser_));
    }
    if (!problem_.empty()) events_.clear();
}

XmlPull::Token XmlPull::ReadNext() {
    while (events_.empty() && !finished_) Parse();
    if (events_.empty() || !problem_.empty()) {
        current_.token = Token::End;
        return Token::End;
    }
    const std::int64_t line = current_.line;
    current_ = std::move(events_.front());
    events_.pop_front();
    if (current_.line < line) current_.line = line;
    return current_.token;
}

void XmlPull::SkipCurrentElement() {
    int depth = 1;
    while (depth > 0) {
        const Token token = ReadNext();
        if (token == Token::End) return;
        if (token == Token::StartElement) ++depth;
        if (token == Token::EndElement) --depth;
    }
}

std::string XmlPull::ReadElementText(bool childIsError) {
    std::string text;
    for (;;) {
        const Token token = ReadNext();
        text += current_.textBefore;
        switch (token) {
            case Token::EndElement:
            case Token::End:
                return text;
            case Token::StartElement:
                if (childIsError) {
                    if (problem_.empty()) problem_ = "ein Element steht, wo keines stehen darf";
                    finished_ = true;
                    events_.clear();
                    return text;
                }
                SkipCurrentElement();
                break;
        }
    }
}

}  // namespace maptool
