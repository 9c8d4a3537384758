#pragma once
// The pane's text as the rest of the program sees it (CR LF line breaks), kept
// beside the QTextDocument so that reading it costs nothing while the document
// is unchanged, and the mapping between the two position systems: the
// document counts one position per line break, the CR LF text two.

#include <string>
#include <vector>

class QTextDocument;

namespace rasp {

class TPaneTextCache {
public:
    // Reads the document again.
    void Rebuild(const QTextDocument& doc);
    void Invalidate() { FValid = false; }
    bool Valid() const { return FValid; }

    const std::u16string& Text() const { return FText; }

    // CR LF position -> document position. A position between CR and LF
    // counts as after the line break.
    int ToDocument(int position) const;
    // Document position -> CR LF position.
    int FromDocument(int position) const;

    // Whether the document characters [docFrom, docFrom + count) equal the
    // cached text there (the document changed only its formatting).
    bool SameText(const QTextDocument& doc, int docFrom, int count) const;

private:
    std::u16string FText;
    std::vector<int> FLineStarts;  // CR LF position of every line start
    bool FValid = false;
};

}  // namespace rasp
