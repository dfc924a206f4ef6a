#include "image_output.h"

#include <cstdio>

#include "core/text/device_text.h"
#include "output.h"

namespace vkctl {
namespace {

using Json = nlohmann::ordered_json;
using torvane::UpdateVariant;

const char* VariantName(UpdateVariant v) {
    switch (v) {
        case UpdateVariant::kA:
            return "A";
        case UpdateVariant::kB:
            return "B";
        case UpdateVariant::kC:
            return "C";
    }
    return "?";
}

const char* VariantModels(UpdateVariant v) {
    switch (v) {
        case UpdateVariant::kA:
            return "model 0x01";
        case UpdateVariant::kB:
            return "model 0x10";
        case UpdateVariant::kC:
            return "other models";
    }
    return "";
}

std::string Hex16(uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

bool IsB32(const torvane::ImageReport& r) {
    return r.magic == "B32";
}

// The variants to report: all three, or the one of the model code.
template <typename F>
void ForVariants(const torvane::ImageReport& r, std::optional<uint8_t> model_code, F&& f) {
    for (const auto& verdict : r.variants) {
        if (!model_code || torvane::UpdateVariantFor(*model_code) == verdict.variant) f(verdict);
    }
}

}  // namespace

std::string FormatImageReport(const std::string& path, const torvane::ImageReport& r,
                              std::optional<uint8_t> model_code) {
    std::string out;
    auto line = [&](const char* name, const std::string& value) {
        char head[16];
        std::snprintf(head, sizeof head, "%-14s", name);
        out += head + value + "\n";
    };
    line("file", path);
    line("size", std::to_string(r.size) + " bytes");
    line("magic", DisplayText(r.magic));
    if (r.header) {
        line("version", DisplayText(r.header->Version()));
        line("date-time", DisplayText(r.header->DateTime()));
        line("target model", DisplayText(r.header->TargetModel()));
        line("target ver.", DisplayText(r.header->MinimumVersion()));
        line("description", DisplayText(r.header->Description()));
    } else {
        line("header", "none (the file is not longer than 1116 bytes)");
    }
    if (IsB32(r)) {
        const std::string computed =
            r.computed_crc ? Hex16(*r.computed_crc) : "not computed (file too large)";
        const bool match = r.computed_crc && *r.computed_crc == r.stored_crc;
        line("crc", "stored " + Hex16(r.stored_crc) + ", computed " + computed + " over " +
                        std::to_string(r.size % 65536) + " bytes: " + (match ? "match" : "differ"));
    }
    ForVariants(r, model_code, [&](const torvane::ImageReport::Verdict& v) {
        out += std::string("variant ") + VariantName(v.variant) + " (" + VariantModels(v.variant) +
               "): " + (v.refusal ? "refused: " + *v.refusal : std::string("passes")) + "\n";
    });
    return out;
}

Json ImageReportJson(const std::string& path, const torvane::ImageReport& r,
                     std::optional<uint8_t> model_code) {
    Json j;
    j["file"] = path;
    j["size"] = r.size;
    j["magic"] = torvane::DeviceTextToUtf8(r.magic);
    if (r.header) {
        j["version"] = torvane::DeviceTextToUtf8(r.header->Version());
        j["date_time"] = torvane::DeviceTextToUtf8(r.header->DateTime());
        j["target_model"] = torvane::DeviceTextToUtf8(r.header->TargetModel());
        j["target_version"] = torvane::DeviceTextToUtf8(r.header->MinimumVersion());
        j["description"] = torvane::DeviceTextToUtf8(r.header->Description());
    }
    if (IsB32(r)) {
        j["crc"] = {{"stored", r.stored_crc},
                    {"computed", r.computed_crc ? Json(*r.computed_crc) : Json()},
                    {"covered_bytes", r.size % 65536},
                    {"match", r.computed_crc && *r.computed_crc == r.stored_crc}};
    }
    Json variants = Json::object();
    ForVariants(r, model_code, [&](const torvane::ImageReport::Verdict& v) {
        variants[VariantName(v.variant)] = {{"passes", !v.refusal}, {"refusal", v.refusal.value_or("")}};
    });
    j["variants"] = variants;
    return j;
}

}  // namespace vkctl
