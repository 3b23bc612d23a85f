#include <gtest/gtest.h>

#define STBI_ONLY_PNG
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tm_run_process.h"
#include "tools/tm-run/diagram_drawing.h"

namespace {

using Rgb = std::vector<int>;
const Rgb white{255, 255, 255};
const Rgb black{0, 0, 0};
// The first four state colours, in the order the run enters the states.
const Rgb orange{230, 159, 0};
const Rgb skyBlue{86, 180, 233};
const Rgb bluishGreen{0, 158, 115};
const Rgb yellow{240, 228, 66};

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    Rgb at(int x, int y) const {
        const auto* pixel = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return {pixel[0], pixel[1], pixel[2]};
    }
};

Decoded decode(const std::filesystem::path& path) {
    const std::string bytes = readFileBytes(path);
    Decoded picture;
    int channels = 0;
    const std::unique_ptr<unsigned char, void (*)(void*)> pixels(
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                              static_cast<int>(bytes.size()), &picture.width, &picture.height,
                              &channels, 3),
        stbi_image_free);
    if (!pixels) {
        ADD_FAILURE() << path << " is no PNG: " << stbi_failure_reason();
        return picture;
    }
    picture.rgb.assign(pixels.get(), pixels.get() + picture.width * picture.height * 3);
    return picture;
}

// Two cells, so each is 500 pixels square; the head goes right, writing a
// blank over the 1, comes back left after writing a 1, and finishes there.
const std::string twoCellMachine =
    "tape(.1)\nstart(a)\nfinish(h)\n(a,1,b,^,R)\n(b,^,c,1,L)\n(c,^,h,1,N)\n";

TEST(TmRunPicture, EachStepIsARowOfSquareCellsTheHeadInItsStatesColour) {
    const ScratchFolder folder;
    const TmRunResult run = runTmRun(
        {"--picture", folder.path("run.png").string(), folder.write("m.txt", twoCellMachine)});
    ASSERT_EQ(run.status, 0) << run.err;
    const Decoded picture = decode(folder.path("run.png"));
    const int cell = 500;
    ASSERT_EQ(picture.width, 2 * cell);
    const int top = picture.height - 4 * cell;  // the legend is above
    ASSERT_GT(top, 0);

    const std::vector<Rgb> rows[] = {
        {orange, white},       // the start: the head on the 1 in state a
        {white, skyBlue},      // the 1 blanked, the head one to the right
        {bluishGreen, black},  // a 1 written, the head back on the left
        {yellow, black},       // finished on the cell it made a 1
    };
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 2; ++column) {
            SCOPED_TRACE("row " + std::to_string(row) + ", cell " + std::to_string(column));
            // Both corners of the cell: it is one square.
            const int x = column * cell;
            const int y = top + row * cell;
            EXPECT_EQ(picture.at(x, y), rows[row][column]);
            EXPECT_EQ(picture.at(x + cell - 1, y + cell - 1), rows[row][column]);
        }
    }
}

// 2,500 cells do not fit across: three to a pixel, the last pixel two.
TEST(TmRunPicture, APixelOfSeveralCellsShowsTheHeadElseItsNonBlankSymbol) {
    SpaceTimeDiagram diagram;
    diagram.states = {"a"};
    diagram.cells = std::string(2500, '^');
    diagram.cells[4] = '1';
    diagram.rows = {{0, 0, '^'}};
    Picture picture = drawDiagram(diagram);
    ASSERT_EQ(picture.width, 834);
    const auto at = [&](int x) {
        const std::uint8_t* bytes = picture.pixel(x, picture.height - 1);
        return Rgb{bytes[0], bytes[1], bytes[2]};
    };
    EXPECT_EQ(at(0), orange);
    EXPECT_EQ(at(1), black) << "one 1 among two blanks";
    EXPECT_EQ(at(2), white);
}

TEST(TmRunPicture, BadInputWritesNothingAndLeavesAnEarlierPictureAlone) {
    const ScratchFolder folder;
    const std::string machine = folder.write("m.txt", twoCellMachine);
    const std::string earlier = folder.write("earlier.png", "an earlier picture");
    const std::string readOnly = folder.write("read-only.png", "kept");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"--picture", folder.path("nowhere/run.png").string()}, "No such file or directory"},
        {{"--picture", readOnly}, "Permission denied"},
        {{"--picture", folder.path("").string()}, "Is a directory"},
        {{"--picture", earlier, "--picture-steps", "0"}, "from 1 to 100000, not '0'"},
        {{"--picture", earlier, "--picture-steps=100001"}, "from 1 to 100000, not '100001'"},
        {{"--picture", earlier, "--picture-steps", "many"}, "from 1 to 100000, not 'many'"},
    };
    for (const auto& badCase : cases) {
        SCOPED_TRACE(badCase.arguments.back());
        std::vector<std::string> arguments = badCase.arguments;
        arguments.push_back(machine);
        const TmRunResult run = runTmRun(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(badCase.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(readFileBytes(earlier), "an earlier picture");
    EXPECT_EQ(readFileBytes(readOnly), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path("")),
                            std::filesystem::directory_iterator()),
              3)
        << "a file was left behind";

    // Replaced whole, with its permissions, and no temporary file left beside it.
    std::filesystem::permissions(
        earlier, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(runTmRun({"--picture", earlier, machine}).status, 0);
    EXPECT_EQ(decode(earlier).width, 1000);
    EXPECT_EQ(std::filesystem::status(earlier).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path("")),
                            std::filesystem::directory_iterator()),
              3);
}

}  // namespace
