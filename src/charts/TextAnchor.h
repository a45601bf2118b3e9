#pragma once
// Where a drawn text is anchored on its baseline. A device that places text itself (a metafile,
// whose reader may not have the chart's fonts and measures the text anew) takes the anchor, so
// centred labels stay centred and right-aligned ones end where they should, whatever the font.

enum class TextAnchor { Left, Centre, Right };

class TextAnchoring {
public:
    // Applies to the texts drawn from now on.
    virtual void SetTextAnchor(TextAnchor anchor) = 0;

protected:
    ~TextAnchoring() = default;
};
