#include "winsvc/appenv.h"

#include "core/text.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTranslator>

#include <cstdio>
#include <cstring>

#include <pwd.h>
#include <unistd.h>

namespace quillo {

QString programFolder() {
    const QString home = qEnvironmentVariable("QUILLO_HOME");
    if (!home.isEmpty()) {
        // Created on demand like the default folder, so a first run starts silently.
        QDir().mkpath(home);
        return QDir::cleanPath(home);
    }
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return exeDir;
    const QString dataDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/quillo32";
    QDir().mkpath(dataDir);
    return dataDir;
}

QString findResource(const QString& name, const QString& programDir) {
    const QString folders[] = {
        programDir,
        QDir::cleanPath(programDir + QStringLiteral("/" QUILLO_DATA_DIR_FROM_BIN)),
        QStringLiteral(QUILLO_DATA_DIR),
    };
    for (const QString& folder : folders) {
        const QString path = folder + '/' + name;
        if (QFileInfo::exists(path))
            return path;
    }
    return programDir + '/' + name;
}

QString findProgram(const QString& name, const QString& programDir) {
    const QString beside = programDir + '/' + name;
    const QFileInfo info(beside);
    if (info.isFile() && info.isExecutable())
        return beside;
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? beside : onPath;
}

bool printVersionIfAsked(int argc, char* argv[], const char* program) {
    if (argc != 2 || std::strcmp(argv[1], "--version") != 0)
        return false;
    std::printf("%s %s\n", program, QUILLO_VERSION);
    return true;
}

void setProgramIdentity(const QString& name) {
    QGuiApplication::setDesktopFileName(name);
    const QIcon builtIn(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
    QApplication::setWindowIcon(QIcon::fromTheme(name, builtIn));
}

QString commandLinePath(const QStringList& argumentsAfterProgram) {
    QString path = argumentsAfterProgram.join(QLatin1Char(' '));
    if (path.startsWith(QLatin1Char('"')))
        path.remove(0, 1);
    if (path.endsWith(QLatin1Char('"')))
        path.chop(1);
    return path;
}

QByteArray platformOverride(const QProcessEnvironment& environment) {
    if (environment.contains("QT_QPA_PLATFORM"))
        return {};
    const bool wayland = environment.value("XDG_SESSION_TYPE") == "wayland" ||
                         !environment.value("WAYLAND_DISPLAY").isEmpty();
    if (wayland && !environment.value("DISPLAY").isEmpty())
        return "xcb";
    return {};
}

void preferX11OnWayland() {
    const QByteArray platform = platformOverride(QProcessEnvironment::systemEnvironment());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

namespace {

struct Substitution {
    const char* windowsName;
    const char* romanName;
    const char* ipaFont;
};
constexpr Substitution JapaneseSubstitutions[] = {
    {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic"},
    {"ＭＳ ゴシック", "MS Gothic", "IPAGothic"},
    {"ＭＳ Ｐ明朝", "MS PMincho", "IPAPMincho"},
    {"ＭＳ 明朝", "MS Mincho", "IPAMincho"},
    // The face Windows rich-edit controls name for Japanese text by default.
    {"MS UI Gothic", "MS UI Gothic", "IPAPGothic"},
};

} // namespace

void installJapaneseFontSubstitutions() {
    for (const Substitution& s : JapaneseSubstitutions) {
        const QStringList faces{QString::fromUtf8(s.ipaFont)};
        QFont::insertSubstitutions(QString::fromUtf8(s.windowsName), faces);
        QFont::insertSubstitutions(QString::fromUtf8(s.romanName), faces);
    }
}

QStringList windowsJapaneseFontNames() {
    QStringList names;
    for (const Substitution& s : JapaneseSubstitutions)
        names << QString::fromUtf8(s.windowsName);
    return names;
}

QStringList plainFontFamilies(const QStringList& families) {
    static const QStringList aliases{QStringLiteral("Sans Serif"), QStringLiteral("Sans"),
                                     QStringLiteral("Serif"), QStringLiteral("Monospace"),
                                     QStringLiteral("Mono")};
    QStringList plain;
    for (const QString& family : families) {
        const QString name = plainFontFamily(family);
        if (!name.isEmpty() && !aliases.contains(name, Qt::CaseInsensitive) &&
            !plain.contains(name))
            plain << name;
    }
    return plain;
}

bool installJapaneseQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString computerName() {
    return QSysInfo::machineHostName();
}

QString loginName() {
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
}

} // namespace quillo
