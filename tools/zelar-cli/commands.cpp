#include "commands.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <string>

#include "script/script_parser.h"

namespace zelar::cli {

namespace {

// The script actions as the parser reads them: each usage, then its text in a column.
std::string actionList() {
    constexpr std::size_t kIndent = 8;
    constexpr std::size_t kColumn = 27;  // from the usage's start to the text's
    std::string text;
    for (const ScriptActionForm& form : kScriptActions) {
        std::string usage(form.usage);
        usage.resize(std::max(kColumn, usage.size() + 2), ' ');
        text += std::string(kIndent, ' ') + usage;
        for (const char c : form.help) {
            text += c;
            if (c == '\n')
                text += std::string(kIndent + kColumn, ' ');
        }
        text += '\n';
    }
    return text;
}

std::string scriptUsage() {
    std::string text =
        "  zelar-cli script [--port COMn | --file FILE.md2] [--user N --password XXXX] [--yes]\n"
        "                   [--json] [--exact] FILE|-\n"
        "      Runs the actions of FILE (or stdin for -) on the window's controls, without a "
        "window,\n"
        "      as a person at the window would. With --port the port is selected first; with "
        "--user\n"
        "      and --password the modem is read and user N logged in first, as for read. One "
        "action\n"
        "      a line; blank lines and lines starting with # are skipped; an argument holding "
        "blanks\n"
        "      is written in double quotes (\\\" and \\\\ inside them stand for \" and \\):\n"
        "      With --file the script works on that settings file as the window does with it "
        "open:\n"
        "      --user and --password log in against the file's users, \"Записать\" "
        "(ButtonWriteNastr)\n"
        "      stores the page into the file, and what needs a modem is refused.\n";
    text += actionList();
    text +=
        "      The whole script is checked before anything runs. A control can be used only "
        "while\n"
        "      it is enabled, shown, on the page on view and in the window that has the input.\n"
        "      dump and expect see only the pages that the login may open.\n"
        "      Exit status 0 when every line ran; 1 when the read or login failed, an expect "
        "did\n"
        "      not hold, or a line's operation failed (a failed exchange, a refusal by a check or\n"
        "      by the rights: the script stops there); 2 for a bad line or an action a person at\n"
        "      the window could not do. Both give 'line N: reason' on stderr.\n";
    return text;
}

const std::string kScriptUsage = scriptUsage();

const std::array kCommands = {
    CliCommand{"ports",
               "  zelar-cli ports [--probe] [--json]\n"
               "      Prints the serial ports as the port list of the window shows them, one a "
               "line,\n"
               "      each followed by its tool tip's lines, separated by tabs: on Linux the "
               "device and a\n"
               "      USB adapter's product, on Windows the device manager's name of the port.\n"
               "      --probe    asks every port in turn for the modem's identification, as\n"
               "                 \"Найти модем\" does (at most 0.5 s a port; a port that "
               "another\n"
               "                 program holds is left alone), and puts the answer after the "
               "name:\n"
               "                 '№ 7204518, ПО 2.05, загрузчик 1.02', 'нет ответа', 'ответ "
               "не\n"
               "                 опознан' or 'порт недоступен'. Exit status 0 when a modem "
               "answered.\n"
               "      --json     prints one JSON array, an object a port.\n",
               runPorts},
    CliCommand{
        "read",
        "  zelar-cli read --port COMn [--user N --password XXXX] [--state] [--yes] [--json]\n"
        "      Reads the identification and the settings of the modem on COMn and, with --user "
        "and\n"
        "      --password, logs in as user N (1 to 6). When the read succeeded, prints to stdout\n"
        "      (also after a failed login) the sections [identification] and [status], and the\n"
        "      pages that the login may open in the window: [modem] and [user 1] to [user 6] as\n"
        "      the role allows (none without a login), one control a line "
        "as\n"
        "      'ControlName: value', the value as the window would show it (1 or 0 for check "
        "boxes\n"
        "      and radio buttons).\n"
        "      --state    adds ' [enabled]' or ' [disabled]', and ' [hidden]' where hidden\n"
        "      Exit status 0 when the read (and the login, when asked) succeeded.\n",
        runRead},
    CliCommand{
        "diag",
        "  zelar-cli diag --port COMn [--user N --password XXXX] [--yes] [--json]\n"
        "      Runs the diagnostics of the modem on COMn in turn: the test message, the SIM "
        "state and\n"
        "      balance, the fault flags and signal level (with --user and --password, after "
        "reading\n"
        "      and logging in as read does). Prints the diagnostics page to stdout as\n"
        "      'ControlName: value' lines (1 or 0 for the fault check boxes and for the signal "
        "bars\n"
        "      PanelQ1 to PanelQ5, lit or not); a failed check leaves its values as they were.\n"
        "      Exit status 0 when all three exchanges succeeded.\n"
        "  zelar-cli diag --port COMn --watch [--interval S] [--count N] [--csv FILE.csv]\n"
        "      The signal meter: the fault command every S seconds (1), one line a sample: the "
        "time,\n"
        "      the level in percent, a bar and the faults that are set, or 'нет ответа'. Ctrl+C "
        "or\n"
        "      N samples end it with the lowest, highest and mean level and the missed replies;\n"
        "      five missed in a row end it with \"Нет связи с модемом\". --csv writes the "
        "samples\n"
        "      (time, level byte, percent, fault flags). Exit status 0 when a reply arrived.\n",
        runDiag},
    CliCommand{"script", kScriptUsage, runScript},
    CliCommand{"new",
               "  zelar-cli new [--yes] FILE.md2\n"
               "      Writes the factory values of \"Восстановить заводские настройки\" into a new "
               "settings\n"
               "      file, for the window or script --file to edit. An existing FILE.md2 is "
               "replaced only\n"
               "      with --yes. Exit status 0 when the file was written.\n",
               runNew},
    CliCommand{
        "dict-upload",
        "  zelar-cli dict-upload --port COMn --user N --password XXXX [--yes] [--retries N]\n"
        "                        [--retry-delay MS] FILE\n"
        "      Reads the modem, logs in and writes the message dictionary FILE into the "
        "modem's\n"
        "      flash, as \"Записать словарь\" of the service window does. --yes confirms "
        "which\n"
        "      dictionary the file holds; --retries N gives failed exchanges N Retry "
        "answers in all\n"
        "      before Cancel (0 when not given), each after --retry-delay MS "
        "milliseconds (1000).\n"
        "      Exit status 0 when the whole file was written.\n",
        runDictUpload},
    CliCommand{"dict-download",
               "  zelar-cli dict-download --port COMn --user N --password XXXX [--yes] "
               "[--retries N]\n"
               "                          [--retry-delay MS] FILE\n"
               "      Reads the modem, logs in and reads its protocol-0 dictionary into FILE, as\n"
               "      \"Считать словарь\" does. An existing FILE is replaced only with --yes; the "
               "file is\n"
               "      written whole at the end or not at all. Exit status 0 when FILE was "
               "written.\n",
               runDictDownload},
    CliCommand{
        "backup",
        "  zelar-cli backup --port COMn --user N --password XXXX FILE.md2\n"
        "      Reads the modem on COMn, logs in as user N (a \"Мастер\" or \"Хозяин\") and saves "
        "its\n"
        "      settings into FILE.md2 as \"Сохранить настройки в файл\" does; an existing FILE "
        "is\n"
        "      replaced only once the new one is complete. Texts are saved as held; a CR or LF,\n"
        "      which a line cannot carry, is saved as \"?\", named on stderr, and gives exit\n"
        "      status 1. A value that restore would refuse is named on stderr.\n"
        "      Exit status 0 when the file was saved.\n",
        runBackup},
    CliCommand{
        "restore",
        "  zelar-cli restore --port COMn --user N --password XXXX [--yes] FILE.md2\n"
        "      Reads the modem on COMn, logs in as user N, loads FILE.md2 as \"Считать "
        "настройки из\n"
        "      файла\" does and, with --yes, writes the loaded settings to the modem; without "
        "--yes\n"
        "      the question is answered no and nothing is written. The file is checked before "
        "the\n"
        "      port is opened; a malformed file, or a password, PIN or PUK that is not all digits\n"
        "      of its length, is refused with its line and why on stderr, exit status 2, and\n"
        "      changes nothing. Exit status 0 when the settings were written.\n",
        runRestore},
    CliCommand{
        "verify",
        "  zelar-cli verify --port COMn --user N --password XXXX [--as-restored] [--json] "
        "FILE.md2\n"
        "      Reads the modem on COMn, logs in as a \"Мастер\" or \"Хозяин\" (any other login "
        "is\n"
        "      refused: the settings hold the passwords) and compares every setting that\n"
        "      FILE.md2 holds with the modem's: one line a difference on stdout,\n"
        "      'page / field: modem \"X\", file \"Y\"', with the window's page and field "
        "names, in the\n"
        "      order of the pages (a flags byte is named by the controls that set its bits and\n"
        "      shown in hexadecimal, as the file holds it; control bytes as \\x1B, \\\" and \\\\ "
        "inside\n"
        "      the quotes). --as-restored compares only what restore writes: not the SIM\n"
        "      auto-detection, nor the access point of a SIM the file detects automatically.\n"
        "      The file is checked before the port is\n"
        "      opened. Exit status 0 when they agree, 1 when they differ, 2 for bad arguments, "
        "a\n"
        "      file that is no settings file, or a failed read or login.\n",
        runVerify},
    CliCommand{
        "diff",
        "  zelar-cli diff [--user N --password XXXX] [--json] A B\n"
        "      Compares the settings of A and B, each a settings file or a port COMn (read, "
        "and\n"
        "      logged in as for verify: a port needs a \"Мастер\" or \"Хозяин\"): one line a "
        "difference,\n"
        "      as for verify, 'page / field: A \"X\", B \"Y\"' with A and B as given. Exit status "
        "as for\n"
        "      verify.\n",
        runDiff},
    CliCommand{
        "defaults",
        "  zelar-cli defaults --port COMn [--user N --password XXXX] --yes\n"
        "      Reads the modem (and logs in, as for read), then restores the factory settings "
        "as\n"
        "      \"Восстановить заводские настройки\" does: 30 writes, the share done on stderr as\n"
        "      'progress N%'; every user's password becomes 7391. Without --yes nothing is sent\n"
        "      and the exit status is 2. Exit status 0 when every write was answered with OK.\n",
        runDefaults},
    CliCommand{
        "mode",
        "  zelar-cli mode terminal|device --port COMn --user N --password XXXX [--yes]\n"
        "      Reads the modem, logs in and picks \"Терминал\" (terminal) or \"Оконечное "
        "устройство\"\n"
        "      (device) in the operating mode list of the service window: after the question "
        "(OK\n"
        "      only with --yes) writes the mode and restarts the modem. Needs a login as Мастер "
        "or\n"
        "      Хозяин and firmware 205 or later. Exit status 0 when the modem took the mode "
        "and\n"
        "      confirmed its restart.\n",
        runMode},
    CliCommand{
        "fw-info",
        "  zelar-cli fw-info [--json] FILE\n"
        "      Prints the firmware file's version ('version: 2.05', or 'version: Версия не\n"
        "      определена'), for a coded image (.dat) its release date ('date: 15.03.10'), "
        "and\n"
        "      how many of the 496 pages hold file bytes ('pages: N'). The payload (a coded\n"
        "      image's after its 16-byte header) must fit the 126976 bytes of program memory,\n"
        "      bytes past them all 0xFF, in a file of at most 131072 bytes; an empty payload\n"
        "      or one of text only is no firmware. Exit status 2, with the reason on "
        "stderr,\n"
        "      when the file cannot be programmed.\n",
        runFirmwareInfo},
    CliCommand{
        "flash",
        "  zelar-cli flash --port COMn [--user N --password XXXX] [--wait S] FILE\n"
        "      Programs the modem's controller with FILE through its boot loader, as "
        "\"Программировать\"\n"
        "      does. With --user and --password the modem is read first, so that firmware 2.05 "
        "or\n"
        "      later is asked to restart; otherwise restart the modem by hand. Statuses and\n"
        "      progress go to stderr. When no boot loader answers within S seconds (default "
        "60)\n"
        "      the wait is cancelled. A file that fw-info refuses is refused before the port "
        "is\n"
        "      opened (exit status 2). Exit status 0 only when every block was acknowledged.\n",
        runFlash},
    CliCommand{
        "provision",
        "  zelar-cli provision --ports LIST [--user N --password XXXX] [--template FILE.md2]\n"
        "                      [--script FILE] [--values FILE.csv] [--verify] [--fast] [--jobs N]\n"
        "                      [--report FILE.csv]\n"
        "      Provisions many modems in one run, each port by a zelar-cli process of its own, at\n"
        "      most N ports at once (default: all). LIST is port names and ranges separated by\n"
        "      commas: COM33-COM40,COM45. On each port: read (and log in), restore the template\n"
        "      (giving it is the answer yes to restore's question; needs --user), run the script,\n"
        "      and with --verify and a template, verify the modem against it; --verify and --fast\n"
        "      also go to each writing step. In the script ${PORT} stands for the port and\n"
        "      ${COLUMN} for the modem's value from --values FILE.csv, whose first row names the\n"
        "      columns and whose first column is a port name or a serial number; another name,\n"
        "      or no row for a modem whose script needs one, fails that port. A port that fails\n"
        "      does not stop the others. On a terminal a table shows each port's serial number,\n"
        "      firmware, IMEI, step, percent and result; otherwise each event is one line,\n"
        "      'COM33: restore: started'. --report FILE.csv gets one row a modem: port, serial,\n"
        "      imei, firmware, result (ok or failed), the failing step, its message and the\n"
        "      seconds taken. Ctrl+C ends every child's exchange in order; the ports left\n"
        "      unfinished count as failed (\"прервано\") and the report is still written.\n"
        "      Every file is checked before a port is opened. Exit status 0 when every modem\n"
        "      was provisioned, 1 when any failed, 2 for bad arguments or files.\n",
        runProvision},
    CliCommand{
        "report",
        "  zelar-cli report (--port COMn --user N --password XXXX | --file FILE.md2)\n"
        "                   [--installer NAME] [--site TEXT] [--with-secrets] "
        "OUTPUT.html|OUTPUT.pdf\n"
        "      Writes a printable report in Russian of what the modem on COMn (read and logged in\n"
        "      as for read) or the settings file holds: the date and time, the installer and the\n"
        "      site, the identification, every page the login may open in the window with its\n"
        "      captions and values (a file shows every page it holds), and from a modem the\n"
        "      signal level and fault flags read just now. A settings file holds no\n"
        "      identification but the lines saved for people, no signal, no object parameters and\n"
        "      no voice call numbers: the report says so. Passwords, PINs, PUKs and access point\n"
        "      passwords show as **** unless --with-secrets. OUTPUT.html is one page with its\n"
        "      styles inside, for A4 paper; OUTPUT.pdf is set on A4 pages. The file is written\n"
        "      whole or not at all. Exit status 0 when it was written (from a modem, also the\n"
        "      signal read), 2 for a FILE.md2 that is no settings file.\n",
        runReport},
    CliCommand{
        "archive",
        "  zelar-cli archive list [TEXT] [--json]\n"
        "  zelar-cli archive history SERIAL [--json]\n"
        "  zelar-cli archive diff SERIAL A [B] [--with-secrets]\n"
        "  zelar-cli archive export SERIAL [--at N] [--yes] FILE.md2\n"
        "  zelar-cli archive site SERIAL [--name TEXT] [--address TEXT] [--note TEXT]\n"
        "  zelar-cli archive export-all [--yes] FILE\n"
        "  zelar-cli archive import FILE\n"
        "      The archive of modems (each verb also takes --archive-file FILE; default: the\n"
        "      window's archive, archive.sqlite beside Modem.ini). list: a line a modem whose\n"
        "      serial, site or address holds TEXT: serial, site, last visit, visits. history: the\n"
        "      modem's entries numbered from 1, oldest first: time, operation ('(до)' for the\n"
        "      state kept before a restore, factory defaults, a file or firmware), port, user,\n"
        "      installer, detail; --json: an array with \"n\", \"time\" (ISO 8601, UTC),\n"
        "      \"operation\", \"port\", \"user\" and the rest. diff: the values that differ from\n"
        "      entry A to entry B (default: the latest holding settings) as verify words them,\n"
        "      passwords, PINs and PUKs as **** unless --with-secrets; exit status 1 when they\n"
        "      differ. export: the settings file backup would have written at entry N (default:\n"
        "      the latest), replacing FILE.md2 only with --yes. site: shows the site's name,\n"
        "      address, note and last installer, or changes those given. export-all writes the\n"
        "      whole archive into a new archive FILE; import merges archive FILE into this one by\n"
        "      serial and time, nothing twice.\n"
        "      read, backup, script, restore, defaults, mode, dict-upload, flash, verify, diag,\n"
        "      report and provision record their visits with --archive (the default archive) or\n"
        "      --archive-file FILE, and without either when the window's \"Вести архив\n"
        "      модемов\" is checked ([Archive] Enabled=1 in Modem.ini). An archive that cannot be\n"
        "      written (locked, read-only, full or damaged) never stops the command: 'Архив не\n"
        "      записан: ...' on stderr, the exit status unchanged; a damaged file is left as it\n"
        "      was.\n",
        runArchive},
};

}  // namespace

std::span<const CliCommand> cliCommands() {
    return kCommands;
}

const CliCommand* findCommand(std::string_view name) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [&](const CliCommand& c) { return c.name == name; });
    return it == kCommands.end() ? nullptr : &*it;
}

std::string usageText() {
    std::string text = "Usage:\n";
    for (const CliCommand& command : kCommands)
        text += command.usage;
    text +=
        "  zelar-cli --help\n"
        "      This text.\n"
        "  zelar-cli COMMAND --help\n"
        "      The command's text and its options.\n"
        "\n"
        "--yes answers questions with yes (or OK); otherwise each takes its default answer: no\n"
        "(or cancel). Retry questions are cancelled unless a command says otherwise.\n"
        "\n"
        "--fast, with any command that talks to the modem, ends each wait as soon as a complete\n"
        "reply is in (the window's \"Быстрый обмен\"); the usual wait stays the upper bound.\n"
        "\n"
        "--verify, with script, restore, defaults, mode and dict-upload, reads each write back\n"
        "and compares it byte by byte (the window's \"Проверять запись\"); the first difference\n"
        "fails the command (exit 1) naming the page and field, or the dictionary record. flash\n"
        "cannot verify: the boot loader has no command to read the firmware back.\n"
        "\n"
        "An option that the command does not use (read --template) is refused, as is a port\n"
        "name that no port list holds: COM and a number from 1, without leading zeros.\n"
        "\n"
        "Progress goes to stderr, and every message box as '[caption] text' (the text alone\n"
        "when the box has no caption). A command that fails after the modem took settings\n"
        "(restore, defaults, script) names them: 'zelar-cli: written: user 1, user 2; under\n"
        "way: user 3'.\n"
        "\n"
        "--json (ports, read, diag, verify, diff, fw-info, script) prints one JSON object on\n"
        "stdout instead of the lines: \"ok\" (true when the exit status is 0), \"sections\" with\n"
        "their \"controls\" (name and value; enabled and hidden with --state), a script's dumps\n"
        "as sections named \"dump\", \"compared\" and \"differences\" (verify, diff), and every\n"
        "message box shown as \"messages\" (caption, text, icon). The exit status stays the\n"
        "same; bad arguments print no JSON.\n"
        "\n"
        "--trace FILE (with any command but provision) adds every byte sent and received on the\n"
        "modem's link and the boot loader link to the end of FILE, with the time, in\n"
        "hexadecimal and as text. FILE is held to the rules of every file written: one that is\n"
        "no regular file (a FIFO, a device) or the command's own file is refused.\n"
        "\n"
        "When a port cannot be opened, the line after \"Не могу открыть порт\" says why: in use\n"
        "by another program, no such device, or permission denied.\n"
        "\n"
        "Exit status: 0 success; 1 failure (for verify and diff: a difference); 2 for every bad\n"
        "argument or file found before the modem is touched, every command alike: a bad option\n"
        "or value, a file to read that is missing, unreadable, no regular file or refused by\n"
        "its command (no settings file, no firmware), a file to write (the trace too) with an\n"
        "empty name, no regular file or in a folder that takes no new file; 3 when stdout or\n"
        "the trace cannot take the whole output (a full disk), with 'zelar-cli: cannot write\n"
        "the output' or '... the trace file' on stderr.\n";
    return text;
}

int badArguments(const std::string& message) {
    std::cerr << "zelar-cli: " << message << "\n\n" << usageText();
    return 2;
}

}  // namespace zelar::cli
