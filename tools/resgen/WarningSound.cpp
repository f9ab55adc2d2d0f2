// The alarm sound: four beeps alternating between a high and a low tone.
#include <cmath>

#include "resgen.h"

namespace resgen {

Bytes makeWarningWav() {
    constexpr double kPi = 3.14159265358979323846;
    constexpr double kBeep = 0.2;   // seconds of tone
    constexpr double kPause = 0.05; // seconds of silence after each tone
    constexpr double kFade = 0.005; // seconds of ramp at both ends of a tone, against clicks
    constexpr double kTones[] = {988.0, 740.0, 988.0, 740.0};
    constexpr double kAmplitude = 0.6 * 32767.0;

    const int beepSamples = static_cast<int>(kBeep * kWarningSampleRate);
    const int pauseSamples = static_cast<int>(kPause * kWarningSampleRate);
    const int fadeSamples = static_cast<int>(kFade * kWarningSampleRate);

    ByteWriter samples;
    for (double frequency : kTones) {
        for (int i = 0; i < beepSamples; ++i) {
            double envelope = 1.0;
            if (i < fadeSamples) envelope = static_cast<double>(i) / fadeSamples;
            if (beepSamples - 1 - i < fadeSamples)
                envelope = static_cast<double>(beepSamples - 1 - i) / fadeSamples;
            double v =
                kAmplitude * envelope * std::sin(2.0 * kPi * frequency * i / kWarningSampleRate);
            samples.i16(static_cast<std::int16_t>(std::lround(v)));
        }
        samples.zeros(static_cast<std::size_t>(pauseSamples) * 2);
    }

    ByteWriter out;
    const std::size_t riff = out.beginList("RIFF", "WAVE");
    const std::size_t fmt = out.beginChunk("fmt ");
    out.u16(1); // PCM
    out.u16(1); // mono
    out.u32(kWarningSampleRate);
    out.u32(kWarningSampleRate * 2); // bytes per second
    out.u16(2);                      // block align
    out.u16(16);                     // bits per sample
    out.endChunk(fmt);
    const std::size_t data = out.beginChunk("data");
    out.bytes(samples.data());
    out.endChunk(data);
    out.endChunk(riff);
    return out.data();
}

} // namespace resgen
