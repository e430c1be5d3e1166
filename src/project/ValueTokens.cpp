// Reading and replacing path tokens in registry data.
#include "project/ValueTokens.h"

namespace vesk {
namespace {

void AppendLiteral(std::vector<ValuePiece>& pieces, const std::string& text) {
    if (pieces.empty() || pieces.back().token != PathVariableKind::None) pieces.push_back({});
    pieces.back().text += text;
}

// Tokens that name a folder the installed product can still find: the run's temporary folder is
// gone when the install ends, and the other two name no folder of their own.
bool LastsAfterInstall(PathVariableKind kind) {
    return kind != PathVariableKind::TempFileDir && kind != PathVariableKind::AbsoluteDirectory &&
           kind != PathVariableKind::QuickLaunch;
}

}  // namespace

std::vector<ValuePiece> SplitValueTokens(const std::string& value) {
    std::vector<ValuePiece> pieces;
    std::size_t at = 0;
    while (at < value.size()) {
        const std::size_t open = value.find('[', at);
        if (open == std::string::npos) {
            AppendLiteral(pieces, value.substr(at));
            break;
        }
        AppendLiteral(pieces, value.substr(at, open - at));
        if (value.compare(open, 2, "[[") == 0) {
            AppendLiteral(pieces, "[");
            at = open + 2;
            continue;
        }
        const std::size_t close = value.find(']', open);
        const std::string token =
            close == std::string::npos ? std::string() : value.substr(open, close - open + 1);
        const PathVariableKind kind =
            token.empty() ? PathVariableKind::None : PathVariableKindFromToken(token);
        if (kind == PathVariableKind::None) {
            AppendLiteral(pieces, "[");
            at = open + 1;
        } else {
            pieces.push_back({kind, token});
            at = close + 1;
        }
    }
    return pieces;
}

std::string ExpandValueTokens(const std::string& value,
                              const std::function<std::string(const std::string&)>& resolve) {
    if (value.find('[') == std::string::npos) return value;
    const std::vector<ValuePiece> pieces = SplitValueTokens(value);
    std::string expanded;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const ValuePiece& piece = pieces[i];
        if (piece.token == PathVariableKind::None || piece.token == PathVariableKind::QuickLaunch) {
            expanded += piece.text;
        } else {
            const bool tail =
                i + 1 < pieces.size() && pieces[i + 1].token == PathVariableKind::None;
            expanded += resolve(tail ? piece.text + pieces[++i].text : piece.text);
        }
    }
    return expanded;
}

std::string ValueTokenProblem(const std::string& value) {
    // Walk the value as SplitValueTokens does, knowing where each "[" stood.
    for (std::size_t at = value.find('['); at != std::string::npos; at = value.find('[', at)) {
        if (value.compare(at, 2, "[[") == 0) {
            at += 2;
            continue;
        }
        const std::size_t close = value.find(']', at);
        const std::string token =
            close == std::string::npos ? std::string() : value.substr(at, close - at + 1);
        const PathVariableKind kind =
            token.empty() ? PathVariableKind::None : PathVariableKindFromToken(token);
        if (kind == PathVariableKind::None) {
            const std::string shown =
                close == std::string::npos ? value.substr(at) : value.substr(at, close - at + 1);
            return "holds \"" + shown +
                   "\", which is no path token ([InstallDir], [Program Files], [Windows "
                   "Directory], [System Directory], [Desktop Directory], [Start Menu], "
                   "[Startup]); write [[ for a literal [";
        }
        if (!LastsAfterInstall(kind)) {
            return "holds " + PathVariableToken(kind) +
                   ", which names no folder the installed product can find; write [[ for a "
                   "literal [";
        }
        at = close + 1;
    }
    return "";
}

}  // namespace vesk
