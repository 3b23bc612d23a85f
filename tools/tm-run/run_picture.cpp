#include "tools/tm-run/run_picture.h"

#include <new>

#include "engine/machine_runner.h"
#include "tools/tm-run/diagram_drawing.h"
#include "tools/tm-run/png_file.h"
#include "tools/tm-run/space_time_diagram.h"
#include "tools/tm-run/stream_log_sink.h"

bool saveRunPicture(const std::string& description, std::int64_t steps, const std::string& path,
                    std::string& error) {
    try {
        StreamLogSink silent(nullptr);
        MachineRunner runner(&silent, nullptr, nullptr);
        runner.parse(description.c_str());
        return savePng(drawDiagram(recordDiagram(runner, steps)), path, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory";
        return false;
    }
}
