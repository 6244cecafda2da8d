// SPDX-License-Identifier: MIT
// Every drawing in examples/ renders, with the default settings, to its committed page
// (NAME.html, Shift_JIS) and text (NAME.utf8.txt), byte for byte. The drawings are found by
// listing the folder, so a new example is checked as soon as it is committed, and one committed
// without its renderings fails.
//
// The fine mode's text of the examples and of the quality drawings is committed too
// (fine/FOLDER/NAME.utf8.txt beside this file): its matcher is tuned for speed, and any change
// of a cost or of the order ties are settled in shows here.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// Runs the program with shell-quoted `arguments`; its standard output goes to `out`.
int runProgram(const std::string& arguments, const fs::path& out) {
    const std::string command =
        quoted(PENMOJI_RENDER) + " --quiet " + arguments + " >" + quoted(out) + " </dev/null";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// The pages are tens of kilobytes: a failure names where they part rather than printing both.
void expectSameBytes(const fs::path& made, const fs::path& committed) {
    const std::string a = readBytes(made);
    const std::string b = readBytes(committed);
    const auto parting = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    EXPECT_TRUE(a == b) << committed.filename() << " (" << b.size() << " bytes) differs from the "
                        << "rendering (" << a.size() << " bytes) from byte "
                        << (parting.first - a.begin());
}

std::vector<fs::path> drawingsIn(const fs::path& folder) {
    std::vector<fs::path> drawings;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".pmj") {
            drawings.push_back(entry.path());
        }
    }
    std::sort(drawings.begin(), drawings.end());
    return drawings;
}

TEST(Golden, EveryExampleRendersToItsCommittedPageAndText) {
    const fs::path work =
        fs::temp_directory_path() / ("penmoji-golden-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(fs::create_directory(work));
    const std::vector<fs::path> drawings = drawingsIn(PENMOJI_EXAMPLES);
    ASSERT_FALSE(drawings.empty()) << "no drawings in " << PENMOJI_EXAMPLES;

    for (const fs::path& drawing : drawings) {
        SCOPED_TRACE(drawing.filename().string());
        const std::string name = drawing.stem().string();
        const fs::path page = fs::path(PENMOJI_EXAMPLES) / (name + ".html");
        const fs::path text = fs::path(PENMOJI_EXAMPLES) / (name + ".utf8.txt");
        ASSERT_TRUE(fs::is_regular_file(page)) << "no committed page " << page;
        ASSERT_TRUE(fs::is_regular_file(text)) << "no committed text " << text;

        const fs::path madePage = work / (name + ".html");
        const fs::path madeText = work / (name + ".utf8.txt");
        ASSERT_EQ(runProgram(quoted(drawing) + " -o " + quoted(madePage), work / "stdout"), 0);
        ASSERT_EQ(runProgram("--encoding utf-8 " + quoted(drawing), madeText), 0);
        expectSameBytes(madePage, page);
        expectSameBytes(madeText, text);
    }
    fs::remove_all(work);
}

TEST(Golden, FineModeRendersEachDrawingToItsCommittedText) {
    const fs::path work =
        fs::temp_directory_path() / ("penmoji-golden-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(fs::create_directory(work));
    const std::pair<const char*, fs::path> folders[] = {
        {"examples", PENMOJI_EXAMPLES},
        {"quality", PENMOJI_QUALITY_DRAWINGS},
    };
    for (const auto& [name, folder] : folders) {
        const std::vector<fs::path> drawings = drawingsIn(folder);
        ASSERT_FALSE(drawings.empty()) << "no drawings in " << folder;
        for (const fs::path& drawing : drawings) {
            SCOPED_TRACE(drawing.string());
            const fs::path text =
                fs::path(PENMOJI_FINE_GOLDEN) / name / (drawing.stem().string() + ".utf8.txt");
            ASSERT_TRUE(fs::is_regular_file(text)) << "no committed text " << text;
            const fs::path made = work / "fine.utf8.txt";
            ASSERT_EQ(runProgram("--fine --encoding utf-8 " + quoted(drawing), made), 0);
            expectSameBytes(made, text);
        }
    }
    fs::remove_all(work);
}

}  // namespace
