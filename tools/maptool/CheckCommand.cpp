// maptool check: each finding a message naming the file; quiet when nothing is found.
#include "tools/maptool/Commands.h"
#include "tools/maptool/Findings.h"
#include "tools/maptool/MapInput.h"
#include "tools/maptool/Messages.h"

namespace maptool {

int CheckCommand(const std::vector<std::string>& files, bool verbose) {
    int result = kSuccess;
    for (const std::string& file : files) {
        MapInput input;
        if (!ReadMapInput(file, TileSetRead::Header, input)) {
            result = kInputProblem;
            continue;
        }
        const std::vector<std::string> findings = MapFindings(input);
        for (const std::string& finding : findings) Message(file, finding);
        if (!findings.empty()) {
            result = kInputProblem;
        } else if (verbose) {
            Print(file + ": in Ordnung (" + Number(TileCount(input)) + " Kacheln, " +
                  Number(CountTiles().fields) + " Felder)");
        }
    }
    return result;
}

}  // namespace maptool
