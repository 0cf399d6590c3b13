// The script box's text kept as UTF-8 beside the editor and patched with every change, so that
// a keystroke in a long script costs a splice, not a copy and conversion of the whole text.
#pragma once

#include <QString>
#include <string>

class QTextDocument;

namespace quillon::frontend {

class ScriptMirror {
public:
    // Follows every change of the document from now on; starts from its current text.
    void follow(QTextDocument* document);

    const std::string& utf8() const { return utf8_; }

    // Counts UTF-16 code units of the text from byte offset `from` (at a character start) up
    // to byte offset `to`: how a byte offset becomes a position in the document.
    qsizetype unitsBetween(std::size_t from, std::size_t to) const;

    // The document's whole text, block separators as LF, exactly as typed.
    static QString DocumentText(const QTextDocument& document);

private:
    void onContentsChange(int position, int removed, int added);
    void resync();
    // Byte offset reached by walking `units` UTF-16 code units from byte offset `from`; npos
    // when that ends inside a character of two code units.
    std::size_t byteOffset(std::size_t from, qsizetype units) const;

    QTextDocument* document_ = nullptr;
    std::string utf8_;
    qsizetype units_ = 0;  // the text's length in UTF-16 code units, as the document counts
    // Where the last change began: text before it is unchanged, so the next walk to a later
    // position can start there instead of at the beginning.
    qsizetype markPosition_ = 0;
    std::size_t markOffset_ = 0;
};

}  // namespace quillon::frontend
