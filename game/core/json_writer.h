#pragma once
// Builds the state dump's JSON document one value at a time, so each
// subsystem can write its own part without knowing its neighbours. Strings
// handed to it are GBK (the game's own text) unless the method says UTF-8;
// they are converted once here. The document itself (escaping, numbers,
// layout) is the JSON library's; keys keep the order they were written in.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class JsonWriter {
public:
    JsonWriter();
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // Inside an object: the key of the next value (ASCII or UTF-8).
    void Key(std::string_view key);

    void String(std::string_view gbkText);
    void StringUtf8(std::string_view utf8Text);
    void Int(long long v);
    void Double(double v);  // non-finite values are written as null
    void Bool(bool v);
    void Null();

    // Key and value in one call.
    void Field(std::string_view key, const std::string& gbkText) { Key(key); String(gbkText); }
    void Field(std::string_view key, const char* gbkText) { Key(key); String(gbkText); }
    void Field(std::string_view key, int v) { Key(key); Int(v); }
    void Field(std::string_view key, long v) { Key(key); Int(v); }
    void Field(std::string_view key, long long v) { Key(key); Int(v); }
    void Field(std::string_view key, std::uint32_t v) { Key(key); Int(v); }
    void Field(std::string_view key, double v) { Key(key); Double(v); }
    void Field(std::string_view key, float v) { Key(key); Double(v); }
    void Field(std::string_view key, bool v) { Key(key); Bool(v); }

    // The document written so far, indented by two spaces, ending in a
    // newline. Containers still open are closed in the text.
    std::string str() const;

private:
    struct Document;
    std::unique_ptr<Document> m_doc;
};
