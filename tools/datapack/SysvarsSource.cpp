#include "SysvarsSource.h"

#include <charconv>
#include <functional>
#include <map>
#include <set>

namespace datapack {

namespace {

using Setter = std::function<bool(const std::string&)>;

struct SetterCollector {
    std::vector<std::pair<std::string, Setter>>& setters;

    void operator()(std::string_view name, std::string& text) const {
        setters.emplace_back(std::string(name), [&text](const std::string& v) {
            text = v;
            return true;
        });
    }
    template <class Table>
    void operator()(std::string_view name, Table& table) const {
        for (int i = Table::kLower; i <= Table::kUpper; ++i)
            (*this)(std::string(name) + "(" + std::to_string(i) + ")", table.at(i));
    }
    void operator()(std::string_view name, std::array<std::int16_t, 5>& limits) const {
        for (std::size_t i = 0; i < limits.size(); ++i) {
            setters.emplace_back(std::string(name) + "(" + std::to_string(i) + ")",
                                 [&value = limits[i]](const std::string& v) {
                                     const auto [end, ec] =
                                         std::from_chars(v.data(), v.data() + v.size(), value);
                                     return ec == std::errc() && end == v.data() + v.size();
                                 });
        }
    }
};

std::vector<std::pair<std::string, Setter>> settersFor(SystemVarsRecord& record) {
    std::vector<std::pair<std::string, Setter>> setters;
    ForEachSystemVar(record, SetterCollector{setters});
    return setters;
}

std::string unescape(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() &&
            (value[i + 1] == 'n' || value[i + 1] == '\\')) {
            text += value[i + 1] == 'n' ? "\r\n" : "\\";
            ++i;
        } else {
            text += value[i];
        }
    }
    return text;
}

}  // namespace

std::vector<std::string> sysvarsLabels() {
    SystemVarsRecord scratch;
    std::vector<std::string> labels;
    for (auto& [label, setter] : settersFor(scratch))
        labels.push_back(label);
    return labels;
}

SysvarsParse parseSysvarsSource(const std::vector<std::string>& lines, const std::string& file) {
    SysvarsParse result;
    const auto setters = settersFor(result.record);
    const std::map<std::string, const Setter*> byLabel = [&] {
        std::map<std::string, const Setter*> map;
        for (const auto& [label, setter] : setters)
            map.emplace(label, &setter);
        return map;
    }();
    std::set<std::string> seen;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const int lineNo = static_cast<int>(n) + 1;
        const std::string_view line = trimWhitespace(lines[n]);
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            result.errors.push_back({file, lineNo, "expected 'Member = text'"});
            continue;
        }
        const std::string label(trimWhitespace(line.substr(0, equals)));
        const auto setter = byLabel.find(label);
        if (setter == byLabel.end()) {
            result.errors.push_back({file, lineNo, "unknown member " + label});
            continue;
        }
        if (!seen.insert(label).second) {
            result.errors.push_back({file, lineNo, label + " is defined twice"});
            continue;
        }
        bool encodable = true;
        const std::string value =
            toWindows1252(unescape(trimWhitespace(line.substr(equals + 1))), encodable);
        if (!encodable)
            result.errors.push_back({file, lineNo, label + ": text outside Windows-1252"});
        else if (!(*setter->second)(value))
            result.errors.push_back({file, lineNo, label + ": not a 16-bit number"});
    }
    for (const auto& [label, setter] : setters)
        if (!seen.contains(label)) result.errors.push_back({file, 0, label + " is missing"});
    return result;
}

}  // namespace datapack
