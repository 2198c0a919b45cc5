#include "task_kinds.h"

#include "common/message.h"

namespace velloran {
namespace {

constexpr BrowseOffer kNoBrowsing{};
constexpr BrowseOffer kProgramTypes{
    "application/x-executable application/x-shellscript application/x-desktop application/vnd.appimage",
    QT_TRANSLATE_NOOP("TaskKinds", "All programs"), UserFolder::Home};
constexpr BrowseOffer kAudioTypes{"audio/*", QT_TRANSLATE_NOOP("TaskKinds", "All audio files"),
                                  UserFolder::Music};
constexpr BrowseOffer kVideoTypes{"video/*", QT_TRANSLATE_NOOP("TaskKinds", "All video files"),
                                  UserFolder::Videos};
// PDF, OpenDocument, Office and plain text.
constexpr BrowseOffer kDocumentTypes{
    "application/pdf application/vnd.oasis.opendocument.text application/vnd.oasis.opendocument.spreadsheet "
    "application/vnd.oasis.opendocument.presentation application/vnd.oasis.opendocument.graphics "
    "application/msword application/vnd.openxmlformats-officedocument.wordprocessingml.document "
    "application/vnd.ms-excel application/vnd.openxmlformats-officedocument.spreadsheetml.sheet "
    "application/vnd.ms-powerpoint application/vnd.openxmlformats-officedocument.presentationml.presentation "
    "application/rtf text/plain",
    QT_TRANSLATE_NOOP("TaskKinds", "All documents"), UserFolder::Documents};

} // namespace

const std::array<TaskKindInfo, kTaskKindCount> kTaskKinds = {{
    {QT_TRANSLATE_NOOP("TaskKinds", "Alarm Clock"), KindTarget::Fixed, "Alarm Clock", KindAction::ShowAlarm,
     "AlarmSheet", "", "", "AlarmDescription", "", "alarm", kNoBrowsing},
    {QT_TRANSLATE_NOOP("TaskKinds", "Memo"), KindTarget::Fixed, "Memo", KindAction::ShowMemo, "MemoSheet", "",
     "", "MemoDescription", "", "memo", kNoBrowsing},
    {QT_TRANSLATE_NOOP("TaskKinds", "Executable"), KindTarget::File, "", KindAction::RunProgram, "ExeSheet",
     "ExePath", "BrowseExe", "ExeDescription",
     QT_TRANSLATE_NOOP("TaskKinds", "Programs (*.exe;*.lnk;*.bat)|*.exe;*.lnk;*.bat"), "executable",
     kProgramTypes},
    {QT_TRANSLATE_NOOP("TaskKinds", "Web Address"), KindTarget::WebAddress, "", KindAction::OpenTarget,
     "WebSheet", "WebAddress", "WebVerify", "WebDescription", "", "web", kNoBrowsing},
    {QT_TRANSLATE_NOOP("TaskKinds", "Audio"), KindTarget::File, "", KindAction::OpenTarget, "AudioSheet",
     "AudioPath", "BrowseAudio", "AudioDescription",
     QT_TRANSLATE_NOOP("TaskKinds",
                       "Audio files (*.wma;*.mp3;*.wav;*.snd;*.mid;*.rmi;*.midi;*.au;*.aif;*.aifc;*aiff)"
                       "|*.wma;*.mp3;*.wav;*.snd;*.mid;*.rmi;*.midi;*.au;*.aif;*.aifc;*aiff"),
     "audio", kAudioTypes},
    {QT_TRANSLATE_NOOP("TaskKinds", "Video"), KindTarget::File, "", KindAction::OpenTarget, "VideoSheet",
     "VideoPath", "BrowseVideo", "VideoDescription",
     QT_TRANSLATE_NOOP("TaskKinds", "Video files (*.mpeg;*.mpg;*.avi;*.wmv;*.mov;*.m1v;*.mp2;*.mpa;*.mpe)"
                                    "|*.mpeg;*.mpg;*.avi;*.wmv;*.mov;*.m1v;*.mp2;*.mpa;*.mpe"),
     "video", kVideoTypes},
    {QT_TRANSLATE_NOOP("TaskKinds", "Document"), KindTarget::File, "", KindAction::OpenTarget, "DocSheet",
     "DocPath", "BrowseDoc", "DocDescription",
     QT_TRANSLATE_NOOP(
         "TaskKinds",
         "Document and Text files (*.txt;*.doc;*.rtf;*.wri;*.wps;*.mcw)|*.txt;*.doc;*.rtf;*.wri;*.wps;*.mcw"),
     "document", kDocumentTypes},
    {QT_TRANSLATE_NOOP("TaskKinds", "General"), KindTarget::File, "", KindAction::OpenTarget, "GeneralSheet",
     "GeneralPath", "BrowseGeneral", "GeneralDescription",
     QT_TRANSLATE_NOOP("TaskKinds", "All files (*.*)|*.*"), "general", kNoBrowsing},
}};

const TaskKindInfo* taskKind(int code) {
    return code >= 0 && code < static_cast<int>(kTaskKinds.size())
               ? &kTaskKinds[static_cast<std::size_t>(code)]
               : nullptr;
}

} // namespace velloran
