#include "shell/editor/language_rows.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

#include "compiler/source_text.h"
#include "shell/device/device_text.h"

namespace zr::shell {
namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("LanguageRows", text);
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The main-text position a declaration is listed at: its own, or that of
// the $Lib statement that brought its library in (through nested libraries).
std::int32_t OutlinePosition(const language::Analysis& analysis, const language::Span& span) {
    int source = span.sourceIndex;
    std::int32_t position = span.start;
    const auto& libraries = analysis.compiler().libraries;
    for (int steps = 0; source != 0 && steps <= static_cast<int>(libraries.size()); ++steps) {
        const compiler::Library& library = libraries.at(source - 1);
        position = library.directiveStart;
        source = library.namedFrom;
    }
    return position;
}

// The text of line `line` (1-based) of a compiler text, trimmed.
QString LineText(const std::string& compilerText, int line) {
    std::size_t start = 0;
    for (int n = 1; n < line && start != std::string::npos; ++n) {
        start = compilerText.find('\n', start);
        if (start != std::string::npos) ++start;
    }
    if (start == std::string::npos) return {};
    const std::size_t end = compilerText.find_first_of("\r\n", start);
    return FromDevice(std::string_view(compilerText).substr(start, end - start)).trimmed();
}

}  // namespace

QString ProblemCountText(int count) {
    if (count == 0) return Tr("Ошибок нет");
    const int lastTwo = count % 100;
    const int last = count % 10;
    if (last == 1 && lastTwo != 11) return Tr("%1 ошибка").arg(count);
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) return Tr("%1 ошибки").arg(count);
    return Tr("%1 ошибок").arg(count);
}

QString PlaceText(const SourcePlace& place) {
    if (place.path.isEmpty()) return Tr("строка %1").arg(place.line);
    return Tr("библиотека %1, строка %2").arg(QFileInfo(place.path).fileName()).arg(place.line);
}

std::vector<PlaceRow> ProblemRows(const EditorAnalysis& analysis) {
    const auto& error = analysis.analysis().error;
    if (!error) return {};
    const SourcePlace place = analysis.PlaceOf(error->span);
    return {{{FromUtf8(error->message), PlaceText(place)}, place}};
}

std::vector<PlaceRow> OutlineRows(const EditorAnalysis& analysis) {
    const language::Analysis& engine = analysis.outline();
    struct Entry {
        std::int32_t position;
        std::size_t order;
        PlaceRow row;
    };
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < engine.declarations.size(); ++i) {
        const language::Declaration& declaration = engine.declarations[i];
        if (!declaration.span || declaration.kind == language::DeclarationKind::Predeclared)
            continue;
        const SourcePlace place = analysis.PlaceOf(*declaration.span, &engine);
        entries.push_back({OutlinePosition(engine, *declaration.span),
                           i,
                           {{FromUtf8(declaration.name), FromUtf8(language::KindText(declaration)),
                             PlaceText(place)},
                            place}});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.position != b.position ? a.position < b.position : a.order < b.order;
    });
    std::vector<PlaceRow> rows;
    for (Entry& entry : entries) rows.push_back(std::move(entry.row));
    return rows;
}

std::vector<PlaceRow> ReferenceRows(const EditorAnalysis& analysis, int declaration) {
    const language::Analysis& engine = analysis.outline();
    std::vector<language::Span> spans;
    if (const auto& declared = engine.declarations.at(declaration).span) spans.push_back(*declared);
    for (const language::Span& span : engine.ReferencesTo(declaration)) spans.push_back(span);
    std::vector<PlaceRow> rows;
    for (const language::Span& span : spans) {
        const SourcePlace place = analysis.PlaceOf(span);
        rows.push_back(
            {{PlaceText(place), LineText(engine.TextOf(span.sourceIndex), place.line)}, place});
    }
    return rows;
}

}  // namespace zr::shell
