#include "app/startup_report.h"

namespace torvane {
namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::string RowsReport(const DeviceList& list) {
    std::string out;
    for (size_t i = 0; i < list.RowCount(); ++i) {
        const DeviceRow& r = list.Row(i);
        out += "row\t" + Escaped(r.caption);
        for (const auto& s : r.sub)
            out += "\t" + Escaped(s);
        out += "\t" + std::to_string(r.image) + "\n";
    }
    out += "startup-done\t" + std::to_string(list.RowCount()) + "\n";
    return out;
}

}  // namespace torvane
