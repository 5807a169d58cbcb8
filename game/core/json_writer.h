#pragma once
// A small streaming JSON writer for the state dump. Strings handed to it are
// GBK (the game's own text) unless the method says UTF-8; they are converted
// once here and escaped. Commas and nesting are tracked by the writer, so each
// subsystem can write its own part without knowing its neighbours.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
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

    const std::string& str() const { return m_out; }

    // Escapes UTF-8 text for a JSON string body (quotes not included).
    static std::string Escape(std::string_view utf8Text);

private:
    void BeforeValue();
    void Indent();

    std::string m_out;
    // One entry per open container: true once it holds an element.
    std::vector<bool> m_hasElements;
    bool m_afterKey = false;
};
