#include "pulse_sound_player.h"

#include "builtin_sounds.h"
#include "logging.h"
#include "wave_file.h"

#include "common/product.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <pulse/pulseaudio.h>
#include <vector>

namespace velloran {
namespace {

// What the program asked for, as the sound thread plays it.
struct Sound {
    std::string path; // empty: the built-in sound
    std::string purpose;
    std::string role;
    bool loop = false;
};

std::unique_ptr<WaveSamples> builtinSound(bool alarm) {
    QFile resource(QString::fromLatin1(alarm ? kBuiltinAlarmSound : kBuiltinAlertSound));
    if (!resource.open(QIODevice::ReadOnly))
        return nullptr;
    return WaveSamples::fromBytes(resource.readAll().toStdString());
}

bool describe(const WaveFormat& format, pa_sample_spec& spec, pa_channel_map& map) {
    if (format.tag == kWaveFloat)
        spec.format = PA_SAMPLE_FLOAT32LE;
    else if (format.bits == 8)
        spec.format = PA_SAMPLE_U8;
    else if (format.bits == 16)
        spec.format = PA_SAMPLE_S16LE;
    else if (format.bits == 24)
        spec.format = PA_SAMPLE_S24LE;
    else
        spec.format = PA_SAMPLE_S32LE;
    spec.rate = format.rate;
    spec.channels = static_cast<std::uint8_t>(format.channels);
    return pa_sample_spec_valid(&spec) != 0 &&
           pa_channel_map_init_extend(&map, spec.channels, PA_CHANNEL_MAP_WAVEEX) != nullptr;
}

// The desktop's bell, rung on the program's own thread.
void ringBell() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return;
    QMetaObject::invokeMethod(
        application,
        [] {
            if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
                QApplication::beep();
        },
        Qt::QueuedConnection);
}

} // namespace

// Everything below runs on the sound thread, with the thread's lock held; the program's thread only
// changes what is wanted, under the same lock, and asks the thread to apply it.
struct PulseSoundPlayer::Engine {
    struct Stream {
        pa_stream* stream = nullptr;
        std::unique_ptr<WaveSamples> samples;
        bool loop = false;
        unsigned generation = 0;
    };

    std::function<void(const std::string&)> warn;
    pa_threaded_mainloop* mainloop = nullptr;
    pa_mainloop_api* api = nullptr;
    pa_context* context = nullptr;
    pa_time_event* retry = nullptr;
    // After a failure, nothing more is tried until the retry: a server without an output refuses each
    // stream at once, and trying again at once would spin.
    bool holdOff = false;

    std::optional<Sound> wanted; // the looping sound that should be heard
    unsigned wantedGeneration = 0;
    bool warnedFor = false;     // whether this request's file was found unplayable already
    std::optional<Sound> alert; // an alert not yet started
    bool warnedNoServer = false;

    std::unique_ptr<Stream> looping;
    unsigned loopsStarted = 0;
    std::unique_ptr<Stream> alerting;

    void schedule() { pa_mainloop_api_once(api, &Engine::applyNow, this); }
    static void applyNow(pa_mainloop_api*, void* engine) { static_cast<Engine*>(engine)->apply(); }

    // Brings what plays in line with what is wanted; called again whenever the server or a stream changes.
    void apply() {
        if (context != nullptr && !PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) {
            drop(looping);
            drop(alerting);
            pa_context_set_state_callback(context, nullptr, nullptr);
            pa_context_unref(context);
            context = nullptr;
            noServer();
        }
        for (std::unique_ptr<Stream>* stream : {&looping, &alerting}) {
            if (*stream != nullptr && !PA_STREAM_IS_GOOD(pa_stream_get_state((*stream)->stream))) {
                // A stream the server ended (its output went away) or that has played out.
                const bool lost = pa_stream_get_state((*stream)->stream) == PA_STREAM_FAILED;
                drop(*stream);
                if (lost && stream == &looping && wanted)
                    retryLater();
            }
        }
        if (!wanted)
            drop(looping);
        if (!wanted && !alert)
            return;
        if (context == nullptr) {
            if (!holdOff)
                connect();
            return;
        }
        if (pa_context_get_state(context) != PA_CONTEXT_READY)
            return;
        if (wanted && !holdOff && (looping == nullptr || looping->generation != wantedGeneration)) {
            drop(looping);
            looping = start(*wanted);
            ++loopsStarted;
            if (looping == nullptr)
                retryLater();
            else
                looping->generation = wantedGeneration;
        }
        if (alert) {
            drop(alerting);
            alerting = start(*alert);
            alert.reset();
        }
    }

    void connect() {
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, kProgramName);
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, kProgramIconName);
        context = pa_context_new_with_proplist(api, kProgramName, properties);
        pa_proplist_free(properties);
        if (context == nullptr) {
            noServer();
            return;
        }
        pa_context_set_state_callback(context, &Engine::contextChanged, this);
        // Never start a server of our own: that could take a while, and the desktop runs one if it has one.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            schedule();
    }

    static void contextChanged(pa_context* context, void* engine) {
        qCDebug(logSound, "sound server connection: state %d",
                static_cast<int>(pa_context_get_state(context)));
        static_cast<Engine*>(engine)->schedule();
    }

    void noServer() {
        if (!wanted && !alert)
            return;
        if (!warnedNoServer) {
            warnedNoServer = true;
            warn("no sound output (is a sound server running?): alarms and notes stay silent");
        }
        if (alert) {
            alert.reset();
            ringBell();
        }
        if (wanted)
            retryLater();
    }

    void retryLater() {
        holdOff = true;
        if (retry != nullptr)
            return;
        timeval when{};
        pa_gettimeofday(&when);
        pa_timeval_add(&when, static_cast<pa_usec_t>(kRetryMs) * PA_USEC_PER_MSEC);
        retry = api->time_new(api, &when, &Engine::retryNow, this);
    }

    static void retryNow(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* data) {
        auto* engine = static_cast<Engine*>(data);
        api->time_free(event);
        engine->retry = nullptr;
        engine->holdOff = false;
        engine->apply();
    }

    std::unique_ptr<Stream> start(const Sound& sound) {
        auto entry = std::make_unique<Stream>();
        entry->loop = sound.loop;
        pa_sample_spec spec{};
        pa_channel_map map{};
        if (!sound.path.empty()) {
            entry->samples = WaveSamples::open(sound.path);
            if (entry->samples != nullptr && !describe(entry->samples->format(), spec, map))
                entry->samples.reset();
            if (entry->samples == nullptr && !warnedFor && sound.loop) {
                warnedFor = true;
                warn("cannot play " + sound.path + "; the built-in alarm sounds instead");
            }
        }
        const bool builtin = entry->samples == nullptr;
        if (builtin) {
            entry->samples = builtinSound(sound.loop);
            if (entry->samples == nullptr || !describe(entry->samples->format(), spec, map)) {
                warn("the built-in sound cannot be played");
                return nullptr;
            }
        }

        pa_proplist* properties = pa_proplist_new();
        // The mixer shows the media name to the user: it is the window's caption, in the user's language.
        // The program's name and the role are read by other programs and stay as they are.
        const std::string name = sound.purpose.empty() ? std::string(kProgramName) : sound.purpose;
        pa_proplist_sets(properties, PA_PROP_MEDIA_NAME, name.c_str());
        pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, sound.role.c_str());
        pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, kProgramName);
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, kProgramIconName);
        if (!builtin)
            pa_proplist_sets(properties, PA_PROP_MEDIA_FILENAME, sound.path.c_str());
        entry->stream = pa_stream_new_with_proplist(context, name.c_str(), &spec, &map, properties);
        pa_proplist_free(properties);
        if (entry->stream == nullptr)
            return nullptr;
        pa_stream_set_state_callback(entry->stream, &Engine::streamChanged, this);
        pa_stream_set_write_callback(entry->stream, &Engine::fill, entry.get());
        // No output named: the server's default, which the stream follows when the user picks another.
        if (pa_stream_connect_playback(entry->stream, nullptr, nullptr, PA_STREAM_NOFLAGS, nullptr, nullptr) <
            0) {
            drop(entry);
            return nullptr;
        }
        return entry;
    }

    static void streamChanged(pa_stream*, void* engine) { static_cast<Engine*>(engine)->schedule(); }

    static void fill(pa_stream* stream, std::size_t bytes, void* data) {
        auto* entry = static_cast<Stream*>(data);
        std::vector<char> buffer(bytes);
        const std::size_t got = entry->samples->read(buffer.data(), buffer.size(), entry->loop);
        if (got > 0) {
            pa_stream_write(stream, buffer.data(), got, nullptr, 0, PA_SEEK_RELATIVE);
            return;
        }
        // The end: once what was written has played, the stream goes.
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        if (pa_operation* drain = pa_stream_drain(stream, &Engine::drained, nullptr))
            pa_operation_unref(drain);
    }

    static void drained(pa_stream* stream, int, void*) { pa_stream_disconnect(stream); }

    static void drop(std::unique_ptr<Stream>& entry) {
        if (entry == nullptr)
            return;
        pa_stream_set_state_callback(entry->stream, nullptr, nullptr);
        pa_stream_set_write_callback(entry->stream, nullptr, nullptr);
        if (PA_STREAM_IS_GOOD(pa_stream_get_state(entry->stream)))
            pa_stream_disconnect(entry->stream);
        pa_stream_unref(entry->stream);
        entry.reset();
    }
};

PulseSoundPlayer::PulseSoundPlayer(std::function<void(const std::string&)> warn)
    : engine_(std::make_unique<Engine>()) {
    engine_->warn =
        warn ? std::move(warn) : [](const std::string& text) { qCWarning(logSound, "%s", text.c_str()); };
    engine_->mainloop = pa_threaded_mainloop_new();
    if (engine_->mainloop == nullptr)
        return;
    engine_->api = pa_threaded_mainloop_get_api(engine_->mainloop);
    pa_threaded_mainloop_set_name(engine_->mainloop, "velloran-sound");
    if (pa_threaded_mainloop_start(engine_->mainloop) < 0) {
        pa_threaded_mainloop_free(engine_->mainloop);
        engine_->mainloop = nullptr;
    }
}

PulseSoundPlayer::~PulseSoundPlayer() {
    Engine& engine = *engine_;
    if (engine.mainloop == nullptr)
        return;
    // Once the thread has ended, its objects are ours to free.
    pa_threaded_mainloop_stop(engine.mainloop);
    if (engine.retry != nullptr)
        engine.api->time_free(engine.retry);
    Engine::drop(engine.looping);
    Engine::drop(engine.alerting);
    if (engine.context != nullptr) {
        pa_context_set_state_callback(engine.context, nullptr, nullptr);
        pa_context_disconnect(engine.context);
        pa_context_unref(engine.context);
    }
    pa_threaded_mainloop_free(engine.mainloop);
}

namespace {

// A role the user chose for the program's sounds stays theirs.
std::string soundRole() {
    const char* chosen = std::getenv("PULSE_PROP_media.role");
    return chosen != nullptr && *chosen != '\0' ? std::string(chosen) : std::string("alarm");
}

} // namespace

void PulseSoundPlayer::playLooping(const QString& path, const QString& purpose) {
    Engine& engine = *engine_;
    if (engine.mainloop == nullptr)
        return;
    Sound sound{QFile::encodeName(path).toStdString(), purpose.toStdString(), soundRole(), true};
    pa_threaded_mainloop_lock(engine.mainloop);
    engine.wanted = std::move(sound);
    ++engine.wantedGeneration;
    engine.warnedFor = false;
    engine.holdOff = false; // a new sound is tried at once
    engine.schedule();
    pa_threaded_mainloop_unlock(engine.mainloop);
}

unsigned PulseSoundPlayer::loopsStarted() const {
    Engine& engine = *engine_;
    if (engine.mainloop == nullptr)
        return 0;
    pa_threaded_mainloop_lock(engine.mainloop);
    const unsigned started = engine.loopsStarted;
    pa_threaded_mainloop_unlock(engine.mainloop);
    return started;
}

void PulseSoundPlayer::stop() {
    Engine& engine = *engine_;
    if (engine.mainloop == nullptr)
        return;
    pa_threaded_mainloop_lock(engine.mainloop);
    engine.wanted.reset();
    engine.alert.reset();
    if (engine.alerting != nullptr)
        Engine::drop(engine.alerting);
    engine.schedule();
    pa_threaded_mainloop_unlock(engine.mainloop);
}

void PulseSoundPlayer::beep(const QString& purpose) {
    Engine& engine = *engine_;
    if (engine.mainloop == nullptr) {
        ringBell();
        return;
    }
    Sound sound{std::string(), purpose.toStdString(), soundRole(), false};
    pa_threaded_mainloop_lock(engine.mainloop);
    engine.alert = std::move(sound);
    engine.schedule();
    pa_threaded_mainloop_unlock(engine.mainloop);
}

} // namespace velloran
