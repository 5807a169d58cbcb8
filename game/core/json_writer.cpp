#include "core/json_writer.h"

#include <cmath>
#include <cstdio>

#include "shared/gbk.h"

void JsonWriter::Indent() {
    m_out += '\n';
    m_out.append(m_hasElements.size() * 2, ' ');
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasElements.empty()) {
        if (m_hasElements.back()) m_out += ',';
        m_hasElements.back() = true;
        Indent();
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    m_out += '{';
    m_hasElements.push_back(false);
}

void JsonWriter::EndObject() {
    bool had = !m_hasElements.empty() && m_hasElements.back();
    if (!m_hasElements.empty()) m_hasElements.pop_back();
    if (had) Indent();
    m_out += '}';
    if (m_hasElements.empty()) m_out += '\n';
}

void JsonWriter::BeginArray() {
    BeforeValue();
    m_out += '[';
    m_hasElements.push_back(false);
}

void JsonWriter::EndArray() {
    bool had = !m_hasElements.empty() && m_hasElements.back();
    if (!m_hasElements.empty()) m_hasElements.pop_back();
    if (had) Indent();
    m_out += ']';
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    m_out += '"';
    m_out += Escape(key);
    m_out += "\": ";
    m_afterKey = true;
}

std::string JsonWriter::Escape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

void JsonWriter::String(std::string_view gbkText) { StringUtf8(gbk::ToUtf8(gbkText)); }

void JsonWriter::StringUtf8(std::string_view utf8Text) {
    BeforeValue();
    m_out += '"';
    m_out += Escape(utf8Text);
    m_out += '"';
}

void JsonWriter::Int(long long v) {
    BeforeValue();
    m_out += std::to_string(v);
}

void JsonWriter::Double(double v) {
    BeforeValue();
    if (!std::isfinite(v)) {
        m_out += "null";
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    m_out += buf;
}

void JsonWriter::Bool(bool v) {
    BeforeValue();
    m_out += v ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    m_out += "null";
}
