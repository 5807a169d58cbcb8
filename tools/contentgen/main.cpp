// contentgen OUTDIR            build the generated content into OUTDIR
// contentgen --gbk IN OUT      convert one UTF-8 text file to GBK
// contentgen --sheet OUT.png SCALE ROW...   contact sheet; a ROW is a
//                              comma-separated list of PNG files

#include "gbk_file.h"
#include "generate.h"
#include "sheet.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: contentgen OUTDIR\n"
                 "       contentgen --gbk IN OUT\n"
                 "       contentgen --sheet OUT.png SCALE ROW...\n");
    return 2;
}

std::vector<std::string> SplitCommas(const std::string& s) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (c == ',') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--gbk") {
        std::string error;
        if (!contentgen::ConvertFileToGbk(args[1], args[2], &error)) {
            std::fprintf(stderr, "contentgen: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (args.size() >= 4 && args[0] == "--sheet") {
        std::vector<std::vector<std::string>> rows;
        for (std::size_t i = 3; i < args.size(); ++i) rows.push_back(SplitCommas(args[i]));
        return contentgen::WriteContactSheet(rows, args[1], std::atof(args[2].c_str())) ? 0 : 1;
    }
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') return Usage();
    contentgen::Output out(args[0]);
    contentgen::GenerateAll(out);
    if (out.failures() > 0) {
        std::fprintf(stderr, "contentgen: %d file(s) could not be written\n", out.failures());
        return 1;
    }
    return 0;
}
