#include "frontend/script_mirror.hpp"

#include "app/utf16_units.hpp"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quillon::frontend {
namespace {

QString WithLineEnds(QString text) {
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

}  // namespace

QString ScriptMirror::DocumentText(const QTextDocument& document) {
    // Raw text keeps non-breaking spaces; only the separators between blocks become LF.
    return WithLineEnds(document.toRawText());
}

void ScriptMirror::follow(QTextDocument* document) {
    document_ = document;
    QObject::connect(document, &QTextDocument::contentsChange, document,
                     [this](int position, int removed, int added) { onContentsChange(position, removed, added); });
    resync();
}

void ScriptMirror::resync() {
    const QString text = DocumentText(*document_);
    utf8_ = text.toStdString();
    units_ = text.size();
    markPosition_ = 0;
    markOffset_ = 0;
}

qsizetype ScriptMirror::unitsBetween(std::size_t from, std::size_t to) const {
    to = std::min(to, utf8_.size());
    return from < to ? static_cast<qsizetype>(app::Utf16Units(std::string_view(utf8_).substr(from, to - from))) : 0;
}

std::size_t ScriptMirror::byteOffset(std::size_t from, qsizetype units) const {
    std::size_t i = from;
    const std::size_t size = utf8_.size();
    while (units > 0 && i < size) {
        if (units >= 8 && i + 8 <= size) {  // eight ASCII bytes are eight code units
            std::uint64_t word;
            std::memcpy(&word, utf8_.data() + i, sizeof word);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                units -= 8;
                continue;
            }
        }
        const auto lead = static_cast<unsigned char>(utf8_[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        units -= length == 4 ? 2 : 1;  // characters beyond the BMP take two code units
        i += length;
    }
    if (units < 0) return std::string::npos;  // the position splits a surrogate pair
    return i < size ? i : size;
}

void ScriptMirror::onContentsChange(int position, int removed, int added) {
    // The document counts a final block separator that its text does not hold.
    const qsizetype documentUnits = document_->characterCount() - 1;
    const qsizetype oldUnits = units_;
    if (position < 0 || position > oldUnits) return resync();
    if (position + removed > oldUnits) removed = static_cast<int>(oldUnits - position);
    if (position + added > documentUnits) added = static_cast<int>(documentUnits - position);
    if (removed < 0 || added < 0 || oldUnits - removed + added != documentUnits) return resync();
    // A change beside half of a surrogate pair may join or split a pair: take the text anew.
    if (document_->characterAt(position - 1).isSurrogate() || document_->characterAt(position + added).isSurrogate()) {
        return resync();
    }

    QTextCursor cursor(document_);
    cursor.setPosition(position);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    const std::string inserted = WithLineEnds(cursor.selectedText()).toStdString();

    const bool fromMark = position >= markPosition_;
    const std::size_t begin = fromMark ? byteOffset(markOffset_, position - markPosition_) : byteOffset(0, position);
    const std::size_t end = begin == std::string::npos ? begin : byteOffset(begin, removed);
    if (end == std::string::npos) return resync();
    utf8_.replace(begin, end - begin, inserted);
    units_ = documentUnits;
    markPosition_ = position;
    markOffset_ = begin;
}

}  // namespace quillon::frontend
