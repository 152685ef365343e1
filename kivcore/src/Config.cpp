#include "Config.h"

#include <strings.h>

#include <QSettings>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kivcore {

namespace {

// The whole text as a decimal or 0x-hexadecimal integer (a leading 0 is not octal); false for
// trailing garbage or an empty text.
bool ParseLong(const std::string& text, long long* value) {
    const char* begin = text.c_str();
    while (*begin == ' ' || *begin == '\t') ++begin;
    if (!*begin) return false;
    const char* digits = begin + (*begin == '-' || *begin == '+');
    int base = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X') ? 16 : 10;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(begin, &end, base);
    if (errno || end == begin) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    *value = v;
    return true;
}

bool ParseFloat(const char* begin, const char** endOut, float* value) {
    char* end = nullptr;
    float v = std::strtof(begin, &end);
    if (end == begin || !std::isfinite(v)) return false;
    *value = v;
    *endOut = end;
    return true;
}

}  // namespace

CConfig::CConfig() = default;
CConfig::~CConfig() = default;

void CConfig::Open(const std::string& path) {
    path_ = path;
    settings_ =
        std::make_unique<QSettings>(QString::fromLocal8Bit(path.c_str()), QSettings::IniFormat);
}

bool CConfig::ReadText(const char* section, const char* key, std::string* text) {
    if (!settings_ || !key || !*key) return false;
    QString name =
        section && *section ? QString::fromLatin1(section) + '/' + key : QString::fromLatin1(key);
    QVariant v = settings_->value(name);
    if (!v.isValid()) return false;
    // An INI value with commas comes back as a list; join it again.
    QString s = v.typeId() == QMetaType::QStringList ? v.toStringList().join(',') : v.toString();
    *text = s.toLocal8Bit().toStdString();
    return true;
}

int CConfig::ReadInt(const char* section, const char* key, int defaultValue) {
    std::string text;
    long long v = 0;
    if (!ReadText(section, key, &text) || !ParseLong(text, &v)) return defaultValue;
    if (v < INT32_MIN || v > static_cast<long long>(UINT32_MAX)) return defaultValue;
    return static_cast<int>(static_cast<uint32_t>(v));
}

bool CConfig::ReadBool(const char* section, const char* key, bool defaultValue) {
    std::string text;
    if (!ReadText(section, key, &text)) return defaultValue;
    const char* s = text.c_str();
    if (!strcasecmp(s, "true") || !strcasecmp(s, "yes") || !strcasecmp(s, "on")) return true;
    if (!strcasecmp(s, "false") || !strcasecmp(s, "no") || !strcasecmp(s, "off")) return false;
    long long v = 0;
    return ParseLong(text, &v) ? v != 0 : defaultValue;
}

float CConfig::ReadFloat(const char* section, const char* key, float defaultValue) {
    float v = 0;
    return ReadFloats(section, key, &v, 1) ? v : defaultValue;
}

bool CConfig::ReadFloats(const char* section, const char* key, float* values, int count) {
    std::string text;
    if (!values || count <= 0 || count > 16 || !ReadText(section, key, &text)) return false;
    float parsed[16];
    const char* p = text.c_str();
    for (int i = 0; i < count; ++i) {
        while (*p == ' ' || *p == '\t' || (i > 0 && *p == ',')) ++p;
        if (!ParseFloat(p, &p, &parsed[i])) return false;
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (*p) return false;
    std::memcpy(values, parsed, sizeof(float) * count);
    return true;
}

int CConfig::ReadString(const char* section, const char* key, const char* defaultValue,
                        char* buffer, int size) {
    std::string text;
    if (!ReadText(section, key, &text)) text = defaultValue ? defaultValue : "";
    if (buffer && size > 0) {
        size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int>(text.size());
}

}  // namespace kivcore
