#include "stage/SoundOutput.h"
#include "stage/WaveSound.h"
#include <algorithm>
#include <cstring>

namespace {

thread_local SoundObserver currentObserver = nullptr;

} // namespace

SoundObserver SetSoundObserver(SoundObserver observer)
{
    SoundObserver previous = currentObserver;
    currentObserver = observer;
    return previous;
}

SoundOutput::~SoundOutput()
{
    Stop();
}

void SoundOutput::Play(const std::vector<uint8_t>& wave)
{
    WaveSound sound;
    if (!FindWaveSound(wave, sound))
        return;
    Stop();
    sounding_ = true;
    if (currentObserver)
        currentObserver(this, &wave);
    if (::waveOutGetNumDevs() == 0)
        return;
    // The format chunk need not be aligned inside the file, and a PCM chunk lacks the
    // size field of the WAVEFORMATEX the system reads: copy it into zeroed room.
    const size_t formatSize = std::max(sound.formatSize, sizeof(WAVEFORMATEX));
    std::vector<WAVEFORMATEX> format((formatSize + sizeof(WAVEFORMATEX) - 1) / sizeof(WAVEFORMATEX));
    std::memcpy(format.data(), sound.format, sound.formatSize);
    if (::waveOutOpen(&device_, WAVE_MAPPER, format.data(), 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        device_ = nullptr;
        return;
    }
    header_ = WAVEHDR{};
    header_.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(sound.samples));
    header_.dwBufferLength = static_cast<DWORD>(sound.sampleBytes);
    if (::waveOutPrepareHeader(device_, &header_, sizeof header_) != MMSYSERR_NOERROR) {
        Close();
        return;
    }
    if (::waveOutWrite(device_, &header_, sizeof header_) != MMSYSERR_NOERROR)
        Close();
}

void SoundOutput::Stop()
{
    if (!sounding_)
        return;
    sounding_ = false;
    if (currentObserver)
        currentObserver(this, nullptr);
    Close();
}

void SoundOutput::Close()
{
    if (!device_)
        return;
    ::waveOutReset(device_);
    if (header_.dwFlags & WHDR_PREPARED)
        ::waveOutUnprepareHeader(device_, &header_, sizeof header_);
    ::waveOutClose(device_);
    device_ = nullptr;
}
