// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "SettingsLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ozv {

namespace {

const QString kSwitch = QStringLiteral("settings");

// On Unix-like systems "/" also begins every absolute path, so a parameter that begins with
// "/" is taken as the switch's value unless it is the switch itself.
#ifdef Q_OS_WIN
constexpr bool kSlashIsSwitchOnly = true;
#else
constexpr bool kSlashIsSwitchOnly = false;
#endif

bool isSwitchChar(QChar c)
{
    return c == u'-' || c == u'/';
}

// "-" or "/" followed by "settings" in any ASCII letter case ("--settings" is not it). Where
// "/" begins paths, "/settings" must stand alone or be followed by ":": "/settingsfolder" and
// "/settings/show.ini" are paths.
bool isSettingsSwitch(const QString& p)
{
    if (p.size() < 1 + kSwitch.size() || !isSwitchChar(p.at(0))) return false;
    for (int i = 0; i < kSwitch.size(); ++i) {
        char16_t c = p.at(i + 1).unicode();
        if (c >= u'A' && c <= u'Z') c += 32;
        if (c != kSwitch.at(i).unicode()) return false;
    }
    const qsizetype end = 1 + kSwitch.size();
    if (!kSlashIsSwitchOnly && p.at(0) == u'/' && p.size() > end && p.at(end) != u':') return false;
    return true;
}

bool refusedAsValue(const QString& next)
{
    if (next.isEmpty()) return false;
    if (next.at(0) == u'-') return true;
    if (next.at(0) == u'/') return kSlashIsSwitchOnly || isSettingsSwitch(next);
    return false;
}

} // namespace

std::optional<QString> findSettingsSwitch(const QStringList& args)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& p = args.at(i);
        if (!isSettingsSwitch(p)) continue;
        const int switchLen = 1 + int(kSwitch.size());
        if (p.size() > switchLen) {
            QString value = p.mid(switchLen);
            if (value.startsWith(u':')) value.remove(0, 1);
            return value;
        }
        if (i + 1 < args.size() && !refusedAsValue(args.at(i + 1))) return args.at(i + 1);
        return QString();
    }
    return std::nullopt;
}

CommandLine parseCommandLine(const QStringList& args)
{
    CommandLine cmd;
    bool switchSeen = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& p = args.at(i);
        if (isSettingsSwitch(p)) {
            if (!switchSeen) {
                switchSeen = true;
                cmd.settingsPath = findSettingsSwitch(args.mid(i));
            }
            // A value given as the next parameter belongs to the switch.
            if (p.size() == 1 + kSwitch.size() && i + 1 < args.size() &&
                !refusedAsValue(args.at(i + 1)))
                ++i;
            continue;
        }
        if (p == u"--help" || p == u"-h" || p == u"-?") {
            cmd.help = true;
        } else if (p == u"--version") {
            cmd.version = true;
        } else if (p == u"--cue-sheet" || p.startsWith(u"--cue-sheet=")) {
            if (p.size() > 11) {
                cmd.cueSheetFolder = p.mid(12);
            } else if (i + 1 < args.size()) {
                cmd.cueSheetFolder = args.at(++i);
            } else {
                cmd.error = QStringLiteral("--cue-sheet potřebuje složku.");
                return cmd;
            }
        } else if (p.startsWith(u'-') && p.size() > 1) {
            cmd.error = QStringLiteral("Neznámý přepínač \"%1\". Nápověda: --help.").arg(p);
            return cmd;
        } else if (cmd.folder.isEmpty()) {
            cmd.folder = p;
        } else {
            cmd.error = QStringLiteral("Lze zadat jen jednu složku představení (\"%1\" a \"%2\").")
                            .arg(cmd.folder, p);
            return cmd;
        }
    }
    if (cmd.settingsPath && cmd.settingsPath->isEmpty())
        cmd.error = QStringLiteral(
            "Přepínač -settings potřebuje název souboru, například: -settings predstaveni.ini");
    return cmd;
}

QString defaultSettingsPath(const QString& configDir)
{
    const QString tail = QStringLiteral("Ozvenka/Settings.ini");
    if (configDir.isEmpty()) return tail;
    return configDir.endsWith(u'/') ? configDir + tail : configDir + u'/' + tail;
}

QString locateSettingsFile(const CommandLine& cmd)
{
    if (cmd.settingsPath) return *cmd.settingsPath;
    const QString path = defaultSettingsPath(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

QString usageText()
{
    return QStringLiteral(
        "Použití: ozvenka [SLOŽKA] [-settings SOUBOR]\n"
        "         ozvenka --cue-sheet SLOŽKA [-settings SOUBOR]\n"
        "\n"
        "Ozvěnka je zvukový pult pro divadlo: každý soubor .mp3 a .wav ve SLOŽCE a v jejích\n"
        "přímých podsložkách se stane tlačítkem, které se spustí kliknutím nebo klávesou;\n"
        "obrázky se zobrazí přes celou obrazovku na druhém monitoru.\n"
        "\n"
        "  SLOŽKA              otevře tuto složku představení místo naposledy použité\n"
        "  -settings SOUBOR    nastavení v SOUBORU (také -settings:SOUBOR, /settings SOUBOR)\n"
        "                      místo ~/.config/Ozvenka/Settings.ini\n"
        "  --cue-sheet SLOŽKA  vypíše pořadí zvuků a obrázků SLOŽKY s klávesami a skončí\n"
        "  --version           vypíše verzi a skončí\n"
        "  --help              vypíše tuto nápovědu a skončí\n");
}

} // namespace ozv
