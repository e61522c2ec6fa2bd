#include "stage/CharacterVoice.h"

#include <algorithm>

#include "stage/AcsOutput.h"
#include "stage/Utf16Text.h"

namespace {

class VoiceBytes {
public:
    VoiceBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Take(size_t count, const uint8_t*& taken)
    {
        if (count > size_ - position_)
            return false;
        taken = data_ + position_;
        position_ += count;
        return true;
    }
    bool U8(uint8_t& value)
    {
        const uint8_t* p;
        if (!Take(1, p))
            return false;
        value = p[0];
        return true;
    }
    bool U16(uint16_t& value)
    {
        const uint8_t* p;
        if (!Take(2, p))
            return false;
        value = uint16_t(p[0] | p[1] << 8);
        return true;
    }
    bool U32(uint32_t& value)
    {
        const uint8_t* p;
        if (!Take(4, p))
            return false;
        value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        return true;
    }
    // A count of UTF-16 units, the units, and a zero terminator unless the count is 0.
    bool String(std::string& text)
    {
        uint32_t count = 0;
        if (!U32(count))
            return false;
        if (count == 0) {
            text.clear();
            return true;
        }
        if (count > (size_ - position_) / 2)
            return false;
        const uint8_t* units;
        const uint8_t* terminator;
        if (!Take(size_t(count) * 2, units) || !Take(2, terminator))
            return false;
        text = Utf8FromUtf16(units, count);
        return true;
    }
    size_t Position() const { return position_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

const double kNormalSpeed = 150;  // words a minute
const double kNormalPitch = 120;  // Hz, a man's or an unnamed voice
const double kNormalFemalePitch = 200;

} // namespace

double RelativeVoiceSpeed(const CharacterVoice& voice)
{
    return voice.speed / kNormalSpeed;
}

double RelativeVoicePitch(const CharacterVoice& voice)
{
    const bool female = voice.described && voice.gender == kVoiceGenderFemale;
    return voice.pitch / (female ? kNormalFemalePitch : kNormalPitch);
}

bool CharacterVoice::operator==(const CharacterVoice& o) const
{
    return std::equal(engine, engine + 16, o.engine) && std::equal(mode, mode + 16, o.mode) &&
           speed == o.speed && pitch == o.pitch && described == o.described &&
           languageId == o.languageId && dialect == o.dialect && gender == o.gender && age == o.age &&
           style == o.style;
}

size_t ReadCharacterVoice(const uint8_t* data, size_t size, CharacterVoice& voice, std::string& error)
{
    error.clear();
    VoiceBytes in(data, size);
    CharacterVoice read;
    const uint8_t* ids;
    uint8_t described = 0;
    bool whole = in.Take(32, ids) && in.U32(read.speed) && in.U16(read.pitch) && in.U8(described);
    if (whole && described != 0) {
        read.described = true;
        whole = in.U16(read.languageId) && in.String(read.dialect) && in.U16(read.gender) &&
                in.U16(read.age) && in.String(read.style);
    }
    if (!whole) {
        error = "the voice block ends early";
        return 0;
    }
    std::copy_n(ids, 16, read.engine);
    std::copy_n(ids + 16, 16, read.mode);
    voice = std::move(read);
    return in.Position();
}

bool DecodeCharacterVoice(const std::vector<uint8_t>& block, CharacterVoice& voice, std::string& error)
{
    CharacterVoice read;
    size_t used = ReadCharacterVoice(block.data(), block.size(), read, error);
    if (used == 0)
        return false;
    if (used != block.size()) {
        error = "the voice block has bytes left over";
        return false;
    }
    voice = std::move(read);
    return true;
}

std::vector<uint8_t> EncodeCharacterVoice(const CharacterVoice& voice)
{
    AcsOutput out;
    out.bytes.assign(voice.engine, voice.engine + 16);
    out.bytes.insert(out.bytes.end(), voice.mode, voice.mode + 16);
    out.U32(voice.speed);
    out.U16(voice.pitch);
    out.U8(voice.described ? 1 : 0);
    if (voice.described) {
        out.U16(voice.languageId);
        out.String(voice.dialect);
        out.U16(voice.gender);
        out.U16(voice.age);
        out.String(voice.style);
    }
    return out.bytes;
}
