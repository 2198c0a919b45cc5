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
}

MultimediaSoundPlayer::~MultimediaSoundPlayer() = default;

QSoundEffect& MultimediaSoundPlayer::looping() {
    if (!looping_) {
        looping_ = std::make_unique<QSoundEffect>();
        looping_->setLoopCount(QSoundEffect::Infinite);
        connect(looping_.get(), &QSoundEffect::statusChanged, this,
                &MultimediaSoundPlayer::loopStatusChanged);
    }
    return *looping_;
}

QSoundEffect& MultimediaSoundPlayer::alert() {
    if (!alert_)
        alert_ = std::make_unique<QSoundEffect>();
    return *alert_;
}

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
    startLooping(sourceFor(path));
}

void MultimediaSoundPlayer::startLooping(const QUrl& source) {
    requested_ = source;
    if (looping_)
        looping_->stop();
    if (!outputAvailable())
        return;
    if (looping().source() != source)
        looping_->setSource(source);
    looping_->play();
    if (looping_->status() != QSoundEffect::Ready)
        loadWatchdog_.start();
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
    startLooping(builtinAlarm());
}

void MultimediaSoundPlayer::giveUpLoading() {
    if (wantLooping_ && looping_ && looping_->status() == QSoundEffect::Loading &&
        looping_->source() != builtinAlarm())
        startLooping(builtinAlarm());
}

void MultimediaSoundPlayer::stop() {
    wantLooping_ = false;
    loadWatchdog_.stop();
    if (looping_)
        looping_->stop();
    if (alert_)
        alert_->stop();
}

void MultimediaSoundPlayer::beep() {
    if (!outputAvailable()) {
        // The desktop's bell still reaches a user without a sound server.
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
            QApplication::beep();
        return;
    }
    if (alert().source().isEmpty())
        alert_->setSource(builtinAlert());
    alert_->play();
}

} // namespace velloran
