#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace quillo {

// The program folder, where the settings, the recent-file list and the HTML output live:
// $QUILLO_HOME when set; otherwise the executable's folder when this user may write it;
// otherwise $XDG_DATA_HOME/quillo32, created on demand.
QString programFolder();

// A read-only resource of the programs (their own help file qzd32.qzd): beside the
// executable (a build tree), then in the share folder of an installed tree, found from the
// executable's folder so that a moved tree still works, then in the share folder the build
// was configured for. When none has it, the path beside the executable, so that a message
// can name where it was expected. `programDir` is the folder of the executable.
QString findResource(const QString& name,
                     const QString& programDir = QCoreApplication::applicationDirPath());

// Another program of the suite (the viewer qzd32 that the authoring program starts): beside
// the executable, then on PATH. When neither has it, the path beside the executable.
QString findProgram(const QString& name,
                    const QString& programDir = QCoreApplication::applicationDirPath());

// "--version" as the whole command line: prints "<program> <version>" and returns true.
// Checked before the application is made, so that it needs no display.
bool printVersionIfAsked(int argc, char* argv[], const char* program);

// Gives the program's windows its icon, the desktop icon theme's `name` first and the copy
// built into the program (":/icons/<name>.svg") otherwise, and names the desktop entry
// (<name>.desktop) that the desktop should match its windows with.
void setProgramIdentity(const QString& name);

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
// The font families a writer can choose among: each by its plain name once, without the
// foundry suffixes fontconfig adds to tell equal names apart and without the generic
// aliases (Sans Serif, Serif, Monospace) that name no face of their own.
QStringList plainFontFamilies(const QStringList& families);
// Loads Qt's own Japanese translations, so that standard buttons and the file dialog speak
// Japanese. Returns false when they are not installed.
bool installJapaneseQtTranslations(QCoreApplication& app);

QString computerName();
QString loginName();

} // namespace quillo
