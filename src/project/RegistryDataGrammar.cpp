// Key and value lines of registry data files, read once for the install and the builder.
#include "project/RegistryDataGrammar.h"

#include "project/PathParts.h"
#include "project/RegistryKey.h"
#include "project/ValueTokens.h"

namespace vesk {
namespace {

const RegistryRoot kRoots[] = {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser,
                               RegistryRoot::LocalMachine, RegistryRoot::Users,
                               RegistryRoot::CurrentConfig};

// The root whose bracketed form "[HKEY_..." is exactly `part`.
std::optional<RegistryRoot> BracketedRoot(const std::string& part) {
    for (RegistryRoot root : kRoots) {
        if (part == "[" + RegistryRootName(root)) return root;
    }
    return std::nullopt;
}

// The builder's words for why a line is neither a key nor a value.
std::string ProblemText(const RegistryDataLine& read) {
    switch (read.problem) {
        case RegistryLineProblem::NulByte:
            return "holds a NUL byte, which the install does not read";
        case RegistryLineProblem::OnlyRoot: {
            const std::string name = RegistryRootName(read.key.root);
            return "names only the root " + name +
                   ", which takes no values from a data file: write [" + name + "\\key]";
        }
        case RegistryLineProblem::NeitherKeyNorValue:
            return "is neither a [key] nor a \"name\"=\"data\" or @=\"data\" line (a registry "
                   "editor header is not read either)";
        case RegistryLineProblem::None:
        case RegistryLineProblem::NoKeyLine:
            break;
    }
    return "is no key line: expected [HKEY_LOCAL_MACHINE\\path] or another root";
}

// A key line into `read`: Key with its key, or NoKey with why (the root named alone in
// `read.key.root`).
void ReadKeyLine(const std::string& line, RegistryDataLine& read) {
    read.kind = RegistryDataLine::Kind::NoKey;
    read.problem = RegistryLineProblem::NoKeyLine;
    const std::size_t slash = FirstBackslash(line);
    if (slash == std::string::npos) {
        // "[HKEY_USERS]": a root alone, said as such.
        std::optional<RegistryRoot> root =
            line.empty() ? std::nullopt : BracketedRoot(line.substr(0, line.size() - 1));
        if (root) {
            read.problem = RegistryLineProblem::OnlyRoot;
            read.key.root = *root;
        }
    } else if (std::optional<RegistryRoot> root = BracketedRoot(line.substr(0, slash))) {
        std::string path = line.substr(slash + 1);
        if (!path.empty()) path.pop_back();  // the closing "]"
        read.key.root = *root;
        read.key.levels = PathComponents(path);
        if (read.key.levels.empty()) {
            read.problem = RegistryLineProblem::OnlyRoot;
        } else {
            read.kind = RegistryDataLine::Kind::Key;
            read.problem = RegistryLineProblem::None;
        }
    }
}

// The name and data of a line "name"="data", or @="data" for the key's default value (the name
// is then empty); false for a line of any other form.
bool SplitValueLine(const std::string& line, std::string& name, std::string& data) {
    constexpr std::size_t kShortestDefaultLine = 4;  // @=""
    if (line.size() >= kShortestDefaultLine && line.compare(0, 3, "@=\"") == 0 &&
        line.back() == '"') {
        name.clear();
        data = line.substr(3, line.size() - 4);
        return true;
    }
    constexpr std::size_t kShortestValueLine = 5;  // ""=""
    if (line.size() < kShortestValueLine || line.front() != '"' || line.back() != '"') {
        return false;
    }
    const std::size_t close = line.find('"', 1);
    const std::size_t dataStart = close + 3;  // after the quote, the equals sign and a quote
    if (dataStart >= line.size() || line[close + 1] != '=' || line[close + 2] != '"') return false;
    name = line.substr(1, close - 1);
    data = line.substr(dataStart, line.size() - 1 - dataStart);
    return true;
}

}  // namespace

std::optional<BracketedKey> ReadBracketedKey(const std::string& line) {
    RegistryDataLine read;
    ReadKeyLine(line, read);
    if (read.kind != RegistryDataLine::Kind::Key) return std::nullopt;
    return std::move(read.key);
}

RegistryDataLine ReadRegistryDataLine(const std::string& line) {
    using Kind = RegistryDataLine::Kind;
    RegistryDataLine read;
    if (line.empty()) return read;
    const bool keyLine = line.front() == '[';
    if (line.find('\0') != std::string::npos) {
        read.kind = keyLine ? Kind::NoKey : Kind::Other;
        read.problem = RegistryLineProblem::NulByte;
        return read;
    }
    if (keyLine) {
        if (line.back() == ']') {
            ReadKeyLine(line, read);
        } else {
            read.kind = Kind::NoKey;
            read.problem = RegistryLineProblem::NoKeyLine;
        }
        return read;
    }
    if (SplitValueLine(line, read.name, read.data)) {
        read.kind = Kind::Value;
        return read;
    }
    read.kind = Kind::Other;
    read.problem = RegistryLineProblem::NeitherKeyNorValue;
    return read;
}

std::vector<RegistryDataProblem> CheckRegistryData(const std::string& bytes) {
    using Kind = RegistryDataLine::Kind;
    enum class Current { None, Key, Lost } current = Current::None;
    std::vector<RegistryDataProblem> problems;
    std::size_t number = 0;
    auto report = [&](const std::string& what) {
        problems.push_back({number, "line " + std::to_string(number) + " " + what});
    };
    for (std::size_t start = 0; start < bytes.size();) {
        ++number;
        const std::size_t lineFeed = bytes.find('\n', start);
        if (lineFeed == std::string::npos) {
            report("has no CR LF at its end; the install skips such a last line");
            break;
        }
        std::string line = bytes.substr(start, lineFeed - start);
        start = lineFeed + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        } else {
            report("ends with LF alone; use CR LF");
        }
        if (line.size() > kLongestRegistryDataLine) {
            report("is longer than " + std::to_string(kLongestRegistryDataLine) + " bytes");
            if (line.front() == '[') current = Current::Lost;
            continue;
        }
        const RegistryDataLine read = ReadRegistryDataLine(line);
        switch (read.kind) {
            case Kind::Empty:
                break;
            case Kind::Key:
                current = Current::Key;
                break;
            case Kind::NoKey:
                current = Current::Lost;
                report(ProblemText(read));
                break;
            case Kind::Value:
                // Under a key line that names no key, that line's problem says it all.
                if (current == Current::None) {
                    report("sets a value before any [key] line");
                } else if (const std::string problem = ValueTokenProblem(read.data);
                           !problem.empty()) {
                    report(problem);
                }
                break;
            case Kind::Other:
                report(ProblemText(read));
                break;
        }
    }
    return problems;
}

}  // namespace vesk
