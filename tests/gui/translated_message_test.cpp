#include "platform/translated_message.h"

#include <QCoreApplication>
#include <QHash>
#include <QTest>
#include <QTranslator>

using velloran::Message;
using velloran::translated;

namespace {

// A translation table in memory, as a compiled translation file would give it.
class TableTranslator final : public QTranslator {
public:
    QHash<QString, QString> table; // "context|source" -> translation

    bool isEmpty() const override { return table.isEmpty(); }
    QString translate(const char* context, const char* source, const char* = nullptr,
                      int = -1) const override {
        return table.value(QLatin1String(context) + QLatin1Char('|') + QString::fromUtf8(source));
    }
};

} // namespace

class TranslatedMessageTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QCoreApplication::removeTranslator(&german); }

    void withoutATranslationTheEnglishTextShows() {
        const Message message("Files", "Cannot read \"%1\": %2",
                              {std::string("/home/ä/tasks.tsk"), std::string("Permission denied")});
        QCOMPARE(translated(message), QString::fromStdString(message.english()));
        QCOMPARE(translated(message), QStringLiteral("Cannot read \"/home/ä/tasks.tsk\": Permission denied"));
    }

    void theTranslationIsFilledWithItsArgumentsInItsOwnOrder() {
        german.table.insert(QStringLiteral("Files|Cannot read \"%1\": %2"),
                            QStringLiteral("%2: „%1“ kann nicht gelesen werden"));
        QCoreApplication::installTranslator(&german);
        const Message message("Files", "Cannot read \"%1\": %2",
                              {std::string("/tmp/x"), std::string("Permission denied")});
        QCOMPARE(translated(message),
                 QStringLiteral("Permission denied: „/tmp/x“ kann nicht gelesen werden"));
        QCOMPARE(QString::fromStdString(message.english()),
                 QStringLiteral("Cannot read \"/tmp/x\": Permission denied"));
    }

    void percentSignsInArgumentsComeThroughUnchanged() {
        german.table.insert(QStringLiteral("Registry|Failed to set data for '%1'"),
                            QStringLiteral("Daten für „%1“ nicht gesetzt"));
        QCoreApplication::installTranslator(&german);
        const Message message("Registry", "Failed to set data for '%1'", {std::string("100%2 %1 %%")});
        QCOMPARE(translated(message), QStringLiteral("Daten für „100%2 %1 %%“ nicht gesetzt"));
    }

    void argumentsThatAreMessagesAreTranslatedToo() {
        german.table.insert(QStringLiteral("TaskStore|they do not fit \"%1\""),
                            QStringLiteral("sie passen nicht zu „%1“"));
        german.table.insert(QStringLiteral("TaskStore|not applied, because %1."),
                            QStringLiteral("nicht übernommen, weil %1."));
        QCoreApplication::installTranslator(&german);
        const Message why("TaskStore", "they do not fit \"%1\"", {std::string("/p/%1")});
        const Message told("TaskStore", "not applied, because %1.", {why});
        QCOMPARE(translated(told), QStringLiteral("nicht übernommen, weil sie passen nicht zu „/p/%1“."));
    }

    void verbatimTextsAreNeverTranslatedNorFilled() {
        german.table.insert(QStringLiteral("|Permission denied"), QStringLiteral("Zugriff verweigert"));
        QCoreApplication::installTranslator(&german);
        QCOMPARE(translated(Message(std::string("Permission denied %1"))),
                 QStringLiteral("Permission denied %1"));
    }

private:
    TableTranslator german;
};

QTEST_GUILESS_MAIN(TranslatedMessageTest)
#include "translated_message_test.moc"
