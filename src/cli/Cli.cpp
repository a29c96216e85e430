#include "cli/Cli.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>

#include "app/ListFile.h"
#include "text/SjisCodec.h"

namespace {

constexpr const char* kUsage =
    "usage: velloria-cli [--raw] ls FILE\n"
    "       velloria-cli [--raw] cat FILE PATH\n"
    "       velloria-cli [--force] convert IN OUT\n"
    "       velloria-cli check FILE\n"
    "\n"
    "  ls       the tree: number, kind (G group, D document, M marked), date and name\n"
    "  cat      one node's text; PATH is the names from the top joined with \"/\"\n"
    "           (a leading \"/\" forces names) or the number that ls shows\n"
    "  convert  reads a list of either format and writes the current format; refuses\n"
    "           when IN is damaged or is OUT itself\n"
    "  check    reads the whole file and reports damage (exit status 1)\n"
    "  --raw    Shift-JIS bytes as stored instead of UTF-8\n"
    "  --force  convert writes OUT all the same\n";

std::string ToUtf8(std::string_view sjis) {
    return SjisCodec::ToUnicode(sjis).toStdString();
}

// A message of the list file (Shift-JIS, CR LF) for the terminal: UTF-8, LF.
std::string MessageText(std::string_view pattern, const std::string& file) {
    QString text = SjisCodec::ToUnicode(pattern);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("%s"), QString::fromLocal8Bit(file.c_str()));
    return text.toStdString();
}

class TCliHost : public TListFileHost {
public:
    explicit TCliHost(std::ostream& err) : FErr(err) {}
    void ShowWarning(std::string_view pattern, const std::filesystem::path& file) override {
        FErr << "velloria-cli: " << MessageText(pattern, file.string()) << "\n";
    }
    void ShowIoError(const std::filesystem::path& file, std::string_view reason) override {
        FErr << "velloria-cli: " << file.string() << ": " << reason << "\n";
    }
    void ReportDamage(const std::filesystem::path& file, long firstBadLine) override {
        FErr << "velloria-cli: " << file.string() << ": the file is damaged (first bad line " << firstBadLine
             << ")\n";
    }

private:
    std::ostream& FErr;
};

struct TCommand {
    TCommand(std::ostream& o, std::ostream& e) : out(o), err(e), host(e) {}

    std::ostream& out;
    std::ostream& err;
    bool raw = false;
    bool force = false;
    TCliHost host;
    TDocumentTree tree;

    // Reads the list; false (after a message) when it could not be read at all.
    bool Load(const std::string& file, TListReadResult* result = nullptr) {
        TListFile list(tree, host);
        TListReadResult r = list.ReadListFile(file);
        damaged = r.Damaged();
        if (result) *result = r;
        return r.Status == TListReadResult::TStatus::Ok;
    }
    // What a command that printed the list ends with: 1 when the file was damaged.
    int Finished() const { return damaged ? 1 : 0; }
    bool damaged = false;

    std::string Show(std::string_view sjis) const { return raw ? std::string(sjis) : ToUtf8(sjis); }

    int Ls(const std::string& file) {
        if (!Load(file)) return 1;
        long number = 0;
        tree.ForEachPreOrder(nullptr, [&](TDocumentNode* node, int depth) {
            const TDocumentRecord& r = node->Record();
            std::string kind = r.Kind == dkGroup      ? "G"
                               : r.Kind == dkMarked   ? "M"
                               : r.Kind == dkDocument ? "D"
                                                      : std::to_string(r.Kind);
            std::string date = r.Date;
            if (date.size() == 8)
                date = date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
            char head[64];
            std::snprintf(head, sizeof head, "%5ld %-2s %s ", ++number, kind.c_str(), date.c_str());
            out << head << std::string(2 * static_cast<std::size_t>(depth), ' ') << Show(r.Name) << "\n";
        });
        return Finished();
    }

    // The node at a path of names (every way the names could be split at "/" is tried, since a name may
    // itself contain "/"), or the node with that pre-order number.
    TDocumentNode* Find(std::string_view path) {
        bool numeric = !path.empty() && path.find_first_not_of("0123456789") == std::string_view::npos;
        if (numeric) {
            long wanted = std::strtol(std::string(path).c_str(), nullptr, 10);
            long number = 0;
            TDocumentNode* found = nullptr;
            tree.ForEachPreOrder(nullptr, [&](TDocumentNode* node, int) {
                if (++number == wanted) found = node;
            });
            return found;
        }
        if (!path.empty() && path.front() == '/') path.remove_prefix(1);
        std::function<TDocumentNode*(TDocumentNode*, std::string_view)> walk = [&](TDocumentNode* parent,
                                                                                   std::string_view rest) {
            for (int i = 0; i < tree.ChildCount(parent); ++i) {
                TDocumentNode* child = tree.Child(parent, i);
                const std::string& name = child->Record().Name;
                if (rest.substr(0, name.size()) != name) continue;
                std::string_view after = rest.substr(name.size());
                if (after.empty()) return child;
                if (after.front() != '/') continue;
                if (TDocumentNode* found = walk(child, after.substr(1))) return found;
            }
            return static_cast<TDocumentNode*>(nullptr);
        };
        return walk(nullptr, path);
    }

    int Cat(const std::string& file, const std::string& path) {
        if (!Load(file)) return 1;
        std::string sjisPath = raw ? path : SjisCodec::FromUnicode(QString::fromUtf8(path.c_str()));
        TDocumentNode* node = Find(sjisPath);
        if (!node) {
            err << "velloria-cli: " << file << ": no node " << path << "\n";
            return 1;
        }
        const std::string& text = node->Record().Text;
        if (raw) {
            out << text;
        } else {
            QString unicode = SjisCodec::ToUnicode(text);
            unicode.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            out << unicode.toStdString();
        }
        return Finished();
    }

    // A damaged input, or one that is the output under any name, would lose what could not be read:
    // refused unless forced.
    int Convert(const std::string& in, const std::string& outFile) {
        TListReadResult result;
        if (!Load(in, &result)) return 1;
        std::error_code ec;
        const bool same = std::filesystem::equivalent(in, outFile, ec);  // false when OUT does not exist
        if (!force && (same || result.Damaged())) {
            err << "velloria-cli: " << outFile
                << " not written: " << (same ? "it is the input file" : in + " is damaged")
                << "; --force writes what could be read\n";
            return 1;
        }
        TListFile list(tree, host);
        if (!list.WriteListFile(outFile)) return 1;
        return result.Damaged() ? 1 : 0;
    }

    int Check(const std::string& file) {
        TListReadResult result;
        if (!Load(file, &result)) return 1;
        if (result.Damaged()) {
            err << "velloria-cli: " << file << ": " << result.DamagedLines << " damaged place"
                << (result.DamagedLines == 1 ? "" : "s") << ", " << result.Records << " records kept\n";
            return 1;
        }
        out << file << ": " << result.Records << " records" << (result.OldFormat ? " (old format)" : "")
            << ", no damage\n";
        return 0;
    }
};

}  // namespace

int RunVelloriaCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TCommand command(out, err);
    std::vector<std::string> words;
    for (const std::string& a : args) {
        if (a == "--raw") {
            command.raw = true;
        } else if (a == "--force") {
            command.force = true;
        } else if (a == "-h" || a == "--help") {
            out << kUsage;
            return 0;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            err << "velloria-cli: unknown option " << a << "\n" << kUsage;
            return 2;
        } else {
            words.push_back(a);
        }
    }
    auto bad = [&](const char* why) {
        err << "velloria-cli: " << why << "\n" << kUsage;
        return 2;
    };
    if (words.empty()) return bad("no command given");
    const std::string& name = words[0];
    const std::size_t n = words.size() - 1;
    if (name == "ls") return n == 1 ? command.Ls(words[1]) : bad("ls takes one FILE");
    if (name == "cat") return n == 2 ? command.Cat(words[1], words[2]) : bad("cat takes FILE and PATH");
    if (name == "convert")
        return n == 2 ? command.Convert(words[1], words[2]) : bad("convert takes IN and OUT");
    if (name == "check") return n == 1 ? command.Check(words[1]) : bad("check takes one FILE");
    return bad(("unknown command " + name).c_str());
}
