// Synthesises Velloran's alarm sounds: the Sounds/ set that tasks choose from and the built-in sounds that
// stand in for a missing file and serve as the note alert. Everything is made here from sine partials, so
// the same program always writes the same bytes.
//
//   make_sounds SOUNDS_FOLDER BUILTIN_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

// A struck tone: partials at frequency ratios, each fading faster the higher it is.
struct Partial {
    double ratio;
    double amplitude;
    double decay; // per second
};

// Bells have inharmonic partials; that is what makes them sound like metal rather than an organ.
const std::vector<Partial> kBell = {{0.5, 0.25, 1.2}, {1.0, 1.0, 1.6},  {2.0, 0.45, 2.4},
                                    {2.76, 0.3, 3.2}, {5.4, 0.12, 5.0}, {8.93, 0.05, 7.0}};
// A wooden bar: the fundamental and two overtones that die away quickly.
const std::vector<Partial> kMarimba = {{1.0, 1.0, 3.5}, {3.93, 0.25, 14.0}, {9.2, 0.06, 30.0}};
// A soft electronic tone: fundamental and a touch of the third harmonic, steady while it lasts.
const std::vector<Partial> kSoftBeep = {{1.0, 1.0, 0.0}, {3.0, 0.12, 0.0}};

double noteFrequency(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

Samples silence(double seconds) {
    return Samples(static_cast<std::size_t>(seconds * kRate), 0.0);
}

// Adds a tone at a time offset, growing the buffer as needed. A 4 ms attack and a release over the last
// 30 ms keep the edges free of clicks.
void addTone(Samples& out, double start, double length, double frequency,
             const std::vector<Partial>& partials, double gain) {
    const auto first = static_cast<std::size_t>(start * kRate);
    const auto count = static_cast<std::size_t>(length * kRate);
    if (out.size() < first + count)
        out.resize(first + count, 0.0);
    const double attack = 0.004;
    const double release = std::min(0.03, length / 4);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double envelope = std::min(1.0, t / attack);
        if (t > length - release)
            envelope *= std::max(0.0, (length - t) / release);
        double value = 0.0;
        for (const Partial& partial : partials) {
            const double f = frequency * partial.ratio;
            if (f >= kRate / 2.0)
                continue;
            value += partial.amplitude * std::exp(-partial.decay * t) * std::sin(2 * kPi * f * t);
        }
        out[first + i] += gain * envelope * value;
    }
}

// Scales the loudest sample to about -4 dBFS: loud enough to wake, never clipped.
void normalise(Samples& samples) {
    double peak = 0.0;
    for (double s : samples)
        peak = std::max(peak, std::abs(s));
    if (peak <= 0.0)
        return;
    for (double& s : samples)
        s *= 0.63 / peak;
}

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A plain RIFF/WAVE file: 16-bit PCM, one channel.
bool writeWave(const std::filesystem::path& path, Samples samples) {
    normalise(samples);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string bytes;
    bytes += "RIFF";
    putLittleEndian(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    putLittleEndian(bytes, 16, 4);
    putLittleEndian(bytes, 1, 2); // PCM
    putLittleEndian(bytes, 1, 2); // channels
    putLittleEndian(bytes, kRate, 4);
    putLittleEndian(bytes, kRate * 2, 4);
    putLittleEndian(bytes, 2, 2);
    putLittleEndian(bytes, 16, 2);
    bytes += "data";
    putLittleEndian(bytes, dataBytes, 4);
    for (double s : samples) {
        const auto value = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
        putLittleEndian(bytes, static_cast<std::uint16_t>(value), 2);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// Each sound ends in quiet, so that looping it leaves a breath between the repeats.

// A rising C major arpeggio on bells, answered by the octave.
Samples chimes() {
    Samples out = silence(3.2);
    const int notes[] = {3, 7, 10, 15}; // C5 E5 G5 C6
    for (int i = 0; i < 4; ++i)
        addTone(out, 0.28 * i, 2.0, noteFrequency(notes[i]), kBell, 1.0);
    addTone(out, 1.4, 1.8, noteFrequency(15), kBell, 0.8);
    return out;
}

// A lilting marimba figure in G major.
Samples marimba() {
    Samples out = silence(2.6);
    const int notes[] = {-2, 2, 5, 10, 9, 5, 2, 5}; // G4 B4 D5 G5 F#5 D5 B4 D5
    for (int i = 0; i < 8; ++i)
        addTone(out, 0.16 * i, 0.9, noteFrequency(notes[i]), kMarimba, i == 3 ? 1.0 : 0.8);
    return out;
}

// The bedside clock's four short beeps, rounded so that they do not pierce.
Samples digital() {
    Samples out = silence(1.6);
    for (int i = 0; i < 4; ++i)
        addTone(out, 0.13 * i, 0.08, 1760.0, kSoftBeep, 1.0);
    return out;
}

// Two slow bell strokes a fourth apart, like a distant tower.
Samples tower() {
    Samples out = silence(4.0);
    addTone(out, 0.0, 3.0, noteFrequency(-5), kBell, 1.0);  // E4
    addTone(out, 1.1, 2.9, noteFrequency(-10), kBell, 1.0); // B3
    return out;
}

// Gentle pulses that rise a step each time, for those who wake to something soft.
Samples sunrise() {
    Samples out = silence(3.0);
    const int notes[] = {-9, -5, -2, 3}; // C4 E4 G4 C5
    for (int i = 0; i < 4; ++i)
        addTone(out, 0.45 * i, 0.4, noteFrequency(notes[i]), kMarimba, 0.6 + 0.13 * i);
    return out;
}

// Built in: a clear two-tone ding-dong that any alarm can fall back on.
Samples builtinAlarm() {
    Samples out = silence(1.8);
    addTone(out, 0.0, 1.2, noteFrequency(7), kBell, 1.0);  // E5
    addTone(out, 0.45, 1.3, noteFrequency(3), kBell, 1.0); // C5
    return out;
}

// Built in: the short alert of a note appearing.
Samples builtinAlert() {
    Samples out = silence(0.5);
    addTone(out, 0.0, 0.45, noteFrequency(12), kMarimba, 1.0); // A5
    addTone(out, 0.07, 0.4, noteFrequency(19), kMarimba, 0.7); // E6
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_sounds SOUNDS_FOLDER BUILTIN_FOLDER\n");
        return 2;
    }
    const std::filesystem::path soundsFolder = argv[1];
    const std::filesystem::path builtinFolder = argv[2];
    std::error_code error;
    std::filesystem::create_directories(soundsFolder, error);
    std::filesystem::create_directories(builtinFolder, error);
    bool ok = writeWave(soundsFolder / "Chimes.wav", chimes());
    ok = writeWave(soundsFolder / "Marimba.wav", marimba()) && ok;
    ok = writeWave(soundsFolder / "Digital.wav", digital()) && ok;
    ok = writeWave(soundsFolder / "Tower Bells.wav", tower()) && ok;
    ok = writeWave(soundsFolder / "Sunrise.wav", sunrise()) && ok;
    ok = writeWave(builtinFolder / "alarm.wav", builtinAlarm()) && ok;
    ok = writeWave(builtinFolder / "alert.wav", builtinAlert()) && ok;
    return ok ? 0 : 1;
}
