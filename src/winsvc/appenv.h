#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace quillo {

// The program folder, where the settings, the recent-file list and the HTML output live:
// $QUILLO_HOME when set; otherwise the executable's folder when this user may write it;
// otherwise $XDG_DATA_HOME/quillo32, created on demand.
QString programFolder();

// A read-only resource of the programs (their own help file qzd32.qzd): beside the
// executable, then in ../share/quillo32. When neither exists, the path beside the
// executable, so that a message can name where it was expected.
QString findResource(const QString& name);

// The one path of a command line: the arguments after the program name joined with single
// blanks, without one double quote at its start and one at its end.
QString commandLinePath(const QStringList& argumentsAfterProgram);

// The platform plug-in to force for this environment, or empty to leave Qt's choice. Both
// programs place their own windows, which Wayland refuses, so on a Wayland session with
// XWayland they use xcb; a QT_QPA_PLATFORM chosen by the user always wins.
QByteArray platformOverride(const QProcessEnvironment& environment);
// Applies platformOverride to this process; call before the QApplication is made.
void preferX11OnWayland();

// Maps the Windows Japanese font names that pages name ("ＭＳ Ｐゴシック", "MS Mincho", ...)
// to the IPA fonts, which fontconfig alone would replace by a Latin font.
void installJapaneseFontSubstitutions();
// The Windows font names that stand for the IPA fonts, as pages name them; the font lists
// offer them beside the installed families so that pages keep their Windows faces.
QStringList windowsJapaneseFontNames();
// Loads Qt's own Japanese translations, so that standard buttons and the file dialog speak
// Japanese. Returns false when they are not installed.
bool installJapaneseQtTranslations(QCoreApplication& app);

QString computerName();
QString loginName();

} // namespace quillo
