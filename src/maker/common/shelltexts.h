#pragma once

#include "core/helpfile.h"

#include <QString>

// Message texts of the authoring window's start-up, file commands and help menu.
namespace quillo::maker {

QString offScreenText(); // several copies pushed the window off the screen
QString fileTitleUnreadableText(const QString& path);
QString tooManyFontsText();
QString neverSavedPreviewText(); // qzdﾌﾟﾚﾋﾞｭｰ(V) on a document that was never saved
QString askSaveChangesText(const QString& filePath);
// The exit question; `filePath` empty stands for an unnamed document.
QString exitQuestionText(const QString& filePath, bool documentChanged, bool layoutChanged);

QString wrongFormatText();
QString cannotOpenText(const QString& path);

// The read-only warning given before anything is written.
QString writeProtectedText(const QString& filePath);
// The warning for a failed save: by the file error number of the write, naming the
// volume the file lies on where the message speaks of a drive.
QString saveFailureText(const QString& filePath, const WriteResult& result);

// Page commands.
QString pageLimitText();       // 100 pages already
QString nothingToDeleteText(); // an empty document's only page
QString deletePageQuestion(int page);
QString nothingToUndoText(); // no page command to undo

QString quickHelpQzdText();
QString quickHelpBrowserText();
QString helpStartErrorText(int shellResult);
QString versionText(const QString& computer, const QString& user);

} // namespace quillo::maker
