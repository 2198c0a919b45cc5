// The process-wide sound player on Qt Multimedia: one looping sound at a time, plus a short alert.
#pragma once

#include "sound_player.h"

#include <QByteArray>
#include <QObject>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

namespace velloran {

class MultimediaSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    // Warnings (no sound output, a sound that fails) go to warn, by default to standard error.
    explicit MultimediaSoundPlayer(QObject* parent = nullptr,
                                   std::function<void(const QString&)> warn = nullptr);
    ~MultimediaSoundPlayer() override;

    void playLooping(const QString& path) override;
    void stop() override;
    void beep() override;

    // What playLooping(path) plays: the file itself when it is a playable WAVE file, otherwise the
    // built-in alarm.
    static QUrl sourceFor(const QString& path);
    static QUrl builtinAlarm();
    static QUrl builtinAlert();

    // The sound that plays (or was asked for last) and whether it is meant to be heard now.
    QUrl loopingSource() const { return requested_; }
    bool isLooping() const { return wantLooping_; }
    // The output the loop was started on; empty while it reaches none.
    QByteArray loopingOutput() const { return loopingOutput_; }

    // How often a looping sound checks that it still reaches the default output.
    static constexpr int kOutputCheckMs = 1000;

private:
    bool outputAvailable();
    void startLooping(const QUrl& source);
    void followDefaultOutput();
    void loopStatusChanged();
    void giveUpLoading();

    // A sound effect whose output went away (a device unplugged, the sound server restarted) is never
    // used again: Qt hangs when it plays once more. Each start makes a new one for the default output.
    std::unique_ptr<QSoundEffect> looping_;
    std::unique_ptr<QSoundEffect> alert_;
    QByteArray loopingOutput_;
    // A file that passed the header check can still stall while loading; the built-in alarm takes over.
    QTimer loadWatchdog_;
    QTimer outputCheck_;
    QUrl requested_;
    bool wantLooping_ = false;
    bool warnedNoOutput_ = false;
    std::function<void(const QString&)> warn_;
};

} // namespace velloran
