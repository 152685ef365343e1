// KicConfig: the engine's configuration, an INI file (sections "KivCore", "Luneth",
// "SceneControl", ...). Every read takes a default that is returned when the key is absent or
// its text does not parse; a missing file means every default.
//
//   ReadInt     decimal or 0x-hex; values up to 0xFFFFFFFF wrap to the 32-bit signed int, so
//               colours such as 0xFF202020 read as written
//   ReadBool    true/false, yes/no, on/off or a number (non-zero is true)
//   ReadFloat   a decimal number
//   ReadFloats  `count` numbers separated by commas or spaces (colours, vectors); on any
//               mismatch `values` keeps its contents and the result is false
//   ReadString  copies at most size - 1 bytes and a NUL; returns the full length
#pragma once

class KicConfig {
public:
    virtual int ReadInt(const char* section, const char* key, int defaultValue) = 0;
    virtual bool ReadBool(const char* section, const char* key, bool defaultValue) = 0;
    virtual float ReadFloat(const char* section, const char* key, float defaultValue) = 0;
    virtual bool ReadFloats(const char* section, const char* key, float* values, int count) = 0;
    virtual int ReadString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, int size) = 0;

protected:
    ~KicConfig() = default;
};
