#include "core/json_writer.h"

#include <cmath>
#include <vector>

#include <nlohmann/json.hpp>

#include "shared/gbk.h"

using Json = nlohmann::ordered_json;

struct JsonWriter::Document {
    Json root;
    bool hasRoot = false;
    // The open containers, innermost last.
    std::vector<Json*> open;
    std::string key;
    bool hasKey = false;

    // Puts a value where the writer stands; returns where it landed.
    Json* Put(Json value) {
        if (open.empty()) {
            root = std::move(value);
            hasRoot = true;
            return &root;
        }
        Json& parent = *open.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        // An object value without a key has nowhere to go; it is dropped.
        if (!hasKey) return nullptr;
        hasKey = false;
        Json& slot = parent[key];
        slot = std::move(value);
        return &slot;
    }
    void Open(Json container) {
        Json* at = Put(std::move(container));
        // A dropped container still needs a level, so its End matches.
        open.push_back(at != nullptr ? at : &scratch);
    }
    void Close() {
        if (!open.empty()) open.pop_back();
    }
    Json scratch;
};

JsonWriter::JsonWriter() : m_doc(std::make_unique<Document>()) {}
JsonWriter::~JsonWriter() = default;

void JsonWriter::BeginObject() { m_doc->Open(Json::object()); }
void JsonWriter::EndObject() { m_doc->Close(); }
void JsonWriter::BeginArray() { m_doc->Open(Json::array()); }
void JsonWriter::EndArray() { m_doc->Close(); }

void JsonWriter::Key(std::string_view key) {
    m_doc->key.assign(key);
    m_doc->hasKey = true;
}

void JsonWriter::String(std::string_view gbkText) { m_doc->Put(gbk::ToUtf8(gbkText)); }
// Invalid UTF-8 is replaced by U+FFFD when the document is written.
void JsonWriter::StringUtf8(std::string_view utf8Text) { m_doc->Put(std::string(utf8Text)); }
void JsonWriter::Int(long long v) { m_doc->Put(v); }
void JsonWriter::Double(double v) {
    if (std::isfinite(v)) {
        m_doc->Put(v);
    } else {
        m_doc->Put(nullptr);
    }
}
void JsonWriter::Bool(bool v) { m_doc->Put(v); }
void JsonWriter::Null() { m_doc->Put(nullptr); }

std::string JsonWriter::str() const {
    if (!m_doc->hasRoot) return {};
    return m_doc->root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
