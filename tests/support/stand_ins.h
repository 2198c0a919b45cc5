// Stand-ins the window tests share: a clock that stands where it is set, a sound player, an opener and a
// notification service that record what they were asked to do, and message boxes that are answered and
// kept.
#pragma once

#include "common/datetime.h"
#include "platform/desktop_notifications.h"
#include "platform/message_box.h"
#include "platform/sound_player.h"
#include "scheduler/task_actions.h"
#include "test_support.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

namespace velloran::test {

class FixedClock final : public Clock {
public:
    DateTime value = 0;
    DateTime now() const override { return value; }
    std::int64_t unixSeconds() const override { return unixFromLocalDateTime(value); }
};

class RecordingSoundPlayer final : public SoundPlayer {
public:
    QStringList played;
    QStringList purposes; // of each sound played and each alert, in order
    int stops = 0;
    int beeps = 0;
    bool looping = false;
    std::function<void()> onPlay; // runs inside playLooping, to look at the caller at that moment

    void playLooping(const QString& path, const QString& purpose) override {
        played << path;
        purposes << purpose;
        looping = true;
        if (onPlay)
            onPlay();
    }
    void stop() override {
        ++stops;
        looping = false;
    }
    void beep(const QString& purpose) override {
        ++beeps;
        purposes << purpose;
    }
};

// Keeps every notice posted and which are still on the desktop; choose() acts as the user would.
class RecordingNotifications final : public DesktopNotifications {
public:
    QList<DesktopNotice> posted;
    QList<NoticeId> withdrawn;

    NoticeId post(const DesktopNotice& notice, ActionHandler onAction) override {
        posted << notice;
        const NoticeId id = static_cast<NoticeId>(posted.size());
        shown_.insert(id, std::move(onAction));
        return id;
    }
    void withdraw(NoticeId id) override {
        if (id != 0 && shown_.remove(id) > 0)
            withdrawn << id;
    }
    // The notices still on the desktop, oldest first.
    QList<DesktopNotice> shown() const {
        QList<DesktopNotice> result;
        for (NoticeId id : shown_.keys())
            result << posted.at(static_cast<qsizetype>(id - 1));
        return result;
    }
    // The user picks an action of the notice; false when it is no longer shown.
    bool choose(NoticeId id, const QString& action, const QString& token = {}) {
        const auto found = shown_.constFind(id);
        if (found == shown_.constEnd())
            return false;
        const ActionHandler handler = *found;
        handler(action, token);
        return true;
    }
    // The id of the newest notice shown with that summary; 0 when none.
    NoticeId idOf(const QString& summary) const {
        NoticeId found = 0;
        for (NoticeId id : shown_.keys())
            if (posted.at(static_cast<qsizetype>(id - 1)).summary == summary)
                found = id;
        return found;
    }
    // The id of the newest notice still shown; 0 when none.
    NoticeId newest() const { return shown_.isEmpty() ? 0 : shown_.lastKey(); }

private:
    QMap<NoticeId, ActionHandler> shown_;
};

class RecordingOpener final : public Opener {
public:
    std::vector<std::string> opened;
    void open(const std::string& target, OpenFailureReport = {}) override { opened.push_back(target); }
    void runProgram(const std::string& path, const std::vector<std::string>&,
                    OpenFailureReport = {}) override {
        opened.push_back(path);
    }
};

// While alive, answers every message box with `answer` and keeps what it showed.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(QMessageBox::StandardButton reply = QMessageBox::Ok) : answer(reply) {
        install();
    }
    ~MessageBoxRecorder() { MessageBoxes::setHandler({}); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // Takes the message boxes back after a test let real ones show.
    void install() {
        MessageBoxes::setHandler([this](const MessageBoxRequest& request) {
            shown << request;
            return answer;
        });
    }

    QMessageBox::StandardButton answer;
    QList<MessageBoxRequest> shown;
};

} // namespace velloran::test
