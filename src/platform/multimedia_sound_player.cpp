#include "multimedia_sound_player.h"

#include "builtin_sounds.h"
#include "wave_file.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <cstdio>

namespace velloran {
namespace {

constexpr int kLoadPatienceMs = 3000;

QUrl resourceUrl(const char* resourcePath) {
    // ":/x" is the resource path; Qt Multimedia wants it as "qrc:/x".
    return QUrl(QStringLiteral("qrc") + QString::fromLatin1(resourcePath));
}

} // namespace

MultimediaSoundPlayer::MultimediaSoundPlayer(QObject* parent, std::function<void(const QString&)> warn)
    : QObject(parent), warn_(std::move(warn)) {
    if (!warn_)
        warn_ = [](const QString& text) { std::fprintf(stderr, "velloran: %s\n", qPrintable(text)); };
    loadWatchdog_.setSingleShot(true);
    loadWatchdog_.setInterval(kLoadPatienceMs);
    connect(&loadWatchdog_, &QTimer::timeout, this, &MultimediaSoundPlayer::giveUpLoading);
    outputCheck_.setInterval(kOutputCheckMs);
    connect(&outputCheck_, &QTimer::timeout, this, &MultimediaSoundPlayer::followDefaultOutput);
}

MultimediaSoundPlayer::~MultimediaSoundPlayer() = default;

QUrl MultimediaSoundPlayer::builtinAlarm() {
    return resourceUrl(kBuiltinAlarmSound);
}
QUrl MultimediaSoundPlayer::builtinAlert() {
    return resourceUrl(kBuiltinAlertSound);
}

QUrl MultimediaSoundPlayer::sourceFor(const QString& path) {
    if (path.isEmpty() || !isPlayableWave(QFile::encodeName(path).toStdString()))
        return builtinAlarm();
    return QUrl::fromLocalFile(path);
}

bool MultimediaSoundPlayer::outputAvailable() {
    if (!QMediaDevices::audioOutputs().isEmpty())
        return true;
    if (!warnedNoOutput_) {
        warnedNoOutput_ = true;
        warn_(QStringLiteral("no sound output (is a sound server running?): alarms and notes stay silent"));
    }
    return false;
}

void MultimediaSoundPlayer::playLooping(const QString& path) {
    wantLooping_ = true;
    // While it should be heard, the loop follows the default output and tries again where it reaches
    // none: headphones unplugged, a speaker gone, the sound server restarted.
    outputCheck_.start();
    startLooping(sourceFor(path));
}

void MultimediaSoundPlayer::startLooping(const QUrl& source) {
    requested_ = source;
    loadWatchdog_.stop();
    looping_.reset();
    loopingOutput_.clear();
    if (!outputAvailable())
        return;
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull())
        return;
    looping_ = std::make_unique<QSoundEffect>(output);
    looping_->setLoopCount(QSoundEffect::Infinite);
    connect(looping_.get(), &QSoundEffect::statusChanged, this, &MultimediaSoundPlayer::loopStatusChanged);
    looping_->setSource(source);
    looping_->play();
    loopingOutput_ = output.id();
    if (looping_->status() != QSoundEffect::Ready)
        loadWatchdog_.start();
}

void MultimediaSoundPlayer::followDefaultOutput() {
    if (!wantLooping_) {
        outputCheck_.stop();
        return;
    }
    const QByteArray output = QMediaDevices::defaultAudioOutput().id();
    // A loaded sound that stopped by itself lost its stream, as when the sound server went away.
    const bool streamLost =
        looping_ != nullptr && looping_->status() == QSoundEffect::Ready && !looping_->isPlaying();
    if (output != loopingOutput_ || streamLost || (looping_ == nullptr && !output.isEmpty()))
        startLooping(requested_);
}

void MultimediaSoundPlayer::loopStatusChanged() {
    const QSoundEffect::Status status = looping_->status();
    if (status != QSoundEffect::Loading)
        loadWatchdog_.stop();
    if (status != QSoundEffect::Error || !wantLooping_)
        return;
    if (looping_->source() == builtinAlarm()) {
        warn_(QStringLiteral("the built-in alarm sound cannot be played"));
        return;
    }
    warn_(QStringLiteral("cannot play %1; the built-in alarm sounds instead")
              .arg(looping_->source().toLocalFile()));
    // Later: the sound effect that calls this must outlive the call.
    QMetaObject::invokeMethod(
        this,
        [this, failed = looping_.get()] {
            if (wantLooping_ && looping_.get() == failed)
                startLooping(builtinAlarm());
        },
        Qt::QueuedConnection);
}

void MultimediaSoundPlayer::giveUpLoading() {
    if (wantLooping_ && looping_ != nullptr && looping_->status() == QSoundEffect::Loading &&
        looping_->source() != builtinAlarm())
        startLooping(builtinAlarm());
}

void MultimediaSoundPlayer::stop() {
    wantLooping_ = false;
    loadWatchdog_.stop();
    outputCheck_.stop();
    looping_.reset();
    loopingOutput_.clear();
    if (alert_ != nullptr)
        alert_->stop();
}

void MultimediaSoundPlayer::beep() {
    if (!outputAvailable()) {
        // The desktop's bell still reaches a user without a sound server.
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
            QApplication::beep();
        return;
    }
    // A new effect each time: the last one's output may be gone.
    alert_ = std::make_unique<QSoundEffect>(QMediaDevices::defaultAudioOutput());
    alert_->setSource(builtinAlert());
    alert_->play();
}

} // namespace velloran
