#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

#include "imagelist/IntakeAsker.h"
#include "msgbox/ExtMsgBoxDefs.h"

// Answers an intake's questions from lists given by the test and records them.
struct CFakeIntakeAsker : IIntakeAsker {
    std::deque<int> subfolderAnswers;  // empty: Yes
    int subfolderQuestions = 0;
    std::vector<QString> messages;
    std::deque<std::optional<QString>> passwords;  // empty or nullopt: Cancel
    QStringList passwordArchives;
    // Message count when each password question came.
    std::vector<size_t> messagesBeforePassword;

    int AskSubfolders() override
    {
        ++subfolderQuestions;
        if (subfolderAnswers.empty()) {
            return IDYES;
        }
        const int answer = subfolderAnswers.front();
        subfolderAnswers.pop_front();
        return answer;
    }
    void ShowIntakeMessage(const QString& text) override { messages.push_back(text); }
    bool AskArchivePassword(const QString& archivePath, QString& password) override
    {
        passwordArchives.append(archivePath);
        messagesBeforePassword.push_back(messages.size());
        if (passwords.empty()) {
            return false;
        }
        const std::optional<QString> answer = passwords.front();
        passwords.pop_front();
        password = answer.value_or(QString());
        return answer.has_value();
    }
};

// A small page's bytes, in the file format named (a PNG file by default).
QByteArray PageBytes(const char* format = "PNG");
// Writes bytes to a file, its folders made as needed.
void WriteBytes(const QString& path, const QByteArray& bytes);
