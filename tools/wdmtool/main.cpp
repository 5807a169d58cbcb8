// wdmtool: map files as text and back, and map checks.
//
//   wdmtool dump MAP.Wdm            prints the map as text
//   wdmtool pack MAP.txt OUT.Wdm    builds a map file from that text
//   wdmtool check MAP [--data DIR] [--maps MAP.csv]
//
// Exit status: 0 success, 1 problems found (check) or the output could not be
// written, 2 bad usage or input that cannot be read.

#include "shared/wdm_check.h"
#include "shared/wdm_map.h"
#include "shared/wdm_text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kProblems = 1;
constexpr int kBadInput = 2;

const char* const kUsage = R"(Usage: wdmtool COMMAND ...
  dump MAP.Wdm [--lenient]       print the map as text (UTF-8) on stdout
  pack MAP.txt OUT.Wdm           build a map file from map text
  check MAP [--data DIR] [--maps MAP.csv]
                                 report problems of a map (.Wdm, or map text .txt)
  COMMAND --help                 help for one command
Exit status: 0 success, 1 problems found or output not written, 2 bad usage or unreadable input.
)";

const char* const kDumpHelp = R"(Usage: wdmtool dump MAP.Wdm [--lenient]
Prints the map as text, one record a line, in the form pack reads.
The map must have exactly 10 sections, as the game needs; --lenient takes
at least 10 and ignores the rest, as the editor does.
)";

const char* const kPackHelp = R"(Usage: wdmtool pack MAP.txt OUT.Wdm
Builds a map file from map text. OUT.Wdm is replaced only when the whole map
was read and written. Sprites are saved in z order (by top, then bottom,
middle and top levels); boxes under 10 pixels are left out.
)";

const char* const kCheckHelp = R"(Usage: wdmtool check MAP [--data DIR] [--maps MAP.csv]
MAP is a map file (.Wdm) or map text (.txt). Reports, one line each:
  - header start/town grounds and NPC and monster grounds that name no square
  - link target maps missing from the map table (with --maps), and target
    grounds missing on the target map (with --maps and --data)
  - pictures that do not exist under DIR ("\data\x.png" is DIR/x.png; with --data)
  - grounds and events under 10 pixels, which are dropped when saved
Ground numbers count the squares as the map is saved.
)";

bool WantsHelp(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

int Usage(const char* help, const std::string& message) {
    std::cerr << "wdmtool: " << message << "\n" << help;
    return kBadInput;
}

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool EndsWith(const std::string& s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Reads a map file, or map text when the name ends in ".txt".
bool LoadAny(const std::string& path, wdm::SectionRule rule, wdm::MapData& map) {
    if (EndsWith(path, ".txt")) {
        std::string text;
        if (!ReadFile(path, text)) {
            std::cerr << path << ": cannot be read\n";
            return false;
        }
        wdm::TextResult r = wdm::MapFromText(text);
        if (!r) {
            std::cerr << path << ":" << r.line << ": " << r.error << "\n";
            return false;
        }
        map = std::move(r.map);
        return true;
    }
    wdm::ReadResult r = wdm::ReadMap(path, rule);
    if (!r) {
        std::cerr << r.reason << "\n";
        return false;
    }
    map = std::move(r.map);
    return true;
}

int Dump(const std::vector<std::string>& args) {
    if (WantsHelp(args)) return std::cout << kDumpHelp, kOk;
    std::vector<std::string> files;
    wdm::SectionRule rule = wdm::SectionRule::Exactly10;
    for (const std::string& a : args) {
        if (a == "--lenient") {
            rule = wdm::SectionRule::AtLeast10;
        } else if (a.rfind("--", 0) == 0) {
            return Usage(kDumpHelp, "unknown option " + a);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 1) return Usage(kDumpHelp, "dump takes one map file");
    wdm::ReadResult r = wdm::ReadMap(files[0], rule);
    if (!r) {
        std::cerr << r.reason << "\n";
        return kBadInput;
    }
    std::cout << wdm::MapToText(r.map);
    return std::cout.flush() ? kOk : kProblems;
}

int Pack(const std::vector<std::string>& args) {
    if (WantsHelp(args)) return std::cout << kPackHelp << "\n" << wdm::kMapTextHelp, kOk;
    if (args.size() != 2) return Usage(kPackHelp, "pack takes a map text and an output file");
    std::string text;
    if (!ReadFile(args[0], text)) {
        std::cerr << args[0] << ": cannot be read\n";
        return kBadInput;
    }
    wdm::TextResult parsed = wdm::MapFromText(text);
    if (!parsed) {
        std::cerr << args[0] << ":" << parsed.line << ": " << parsed.error << "\n";
        return kBadInput;
    }
    wdm::WriteResult written = wdm::WriteMap(args[1], parsed.map);
    if (!written) {
        std::cerr << args[0] << ": " << written.error << "\n";
        return kProblems;
    }
    return kOk;
}

int Check(const std::vector<std::string>& args) {
    if (WantsHelp(args)) return std::cout << kCheckHelp, kOk;
    std::vector<std::string> files;
    std::string mapsFile;
    wdm::CheckOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data" || args[i] == "--maps") {
            if (i + 1 >= args.size()) return Usage(kCheckHelp, args[i] + " needs a value");
            (args[i] == "--data" ? options.dataDir : mapsFile) = args[i + 1];
            ++i;
        } else if (args[i].rfind("--", 0) == 0) {
            return Usage(kCheckHelp, "unknown option " + args[i]);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 1) return Usage(kCheckHelp, "check takes one map");
    wdm::MapData map;
    if (!LoadAny(files[0], wdm::SectionRule::Exactly10, map)) return kBadInput;
    if (!mapsFile.empty()) {
        std::string table;
        if (!ReadFile(mapsFile, table)) {
            std::cerr << mapsFile << ": cannot be read\n";
            return kBadInput;
        }
        options.mapTable = wdm::ScanMapTable(table);
    }
    const std::vector<wdm::MapProblem> problems = wdm::CheckMap(map, options);
    for (const wdm::MapProblem& p : problems) std::cout << files[0] << ": " << p.text << "\n";
    return problems.empty() ? kOk : kProblems;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage(kUsage, "no command");
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage << "\n" << wdm::kMapTextHelp;
        return kOk;
    }
    if (command == "dump") return Dump(args);
    if (command == "pack") return Pack(args);
    if (command == "check") return Check(args);
    return Usage(kUsage, "unknown command " + command);
}
