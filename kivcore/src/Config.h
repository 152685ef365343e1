// CConfig: KicConfig over an INI file read with QSettings.
#pragma once

#include <memory>
#include <string>

#include "kiv/config.h"

class QSettings;

namespace kivcore {

class CConfig final : public KicConfig {
public:
    CConfig();
    ~CConfig();

    // Reads the file (absent: every read gives its default).
    void Open(const std::string& path);
    const std::string& Path() const { return path_; }

    int ReadInt(const char* section, const char* key, int defaultValue) override;
    bool ReadBool(const char* section, const char* key, bool defaultValue) override;
    float ReadFloat(const char* section, const char* key, float defaultValue) override;
    bool ReadFloats(const char* section, const char* key, float* values, int count) override;
    int ReadString(const char* section, const char* key, const char* defaultValue, char* buffer,
                   int size) override;

    // The raw text of a key; false when absent.
    bool ReadText(const char* section, const char* key, std::string* text);

private:
    std::unique_ptr<QSettings> settings_;
    std::string path_;
};

}  // namespace kivcore
