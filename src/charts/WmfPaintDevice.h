#pragma once
// A paint device whose painting becomes a Windows metafile: rectangles, polygons, lines and text
// turn into GDI records, so the chart stays a scalable picture with real text in programs that
// read metafiles. Colours with transparency are mixed with white paper; gradients and pictures
// are not needed by the chart and draw nothing.

#include "charts/TextAnchor.h"
#include "charts/WmfWriter.h"

#include <QPaintDevice>
#include <QSize>

#include <memory>

class WmfPaintEngine;

class WmfPaintDevice : public QPaintDevice, public TextAnchoring {
public:
    // A picture of size pixels at dpi pixels per inch.
    explicit WmfPaintDevice(QSize size, int dpi = 96);
    ~WmfPaintDevice() override;

    QPaintEngine* paintEngine() const override;
    // The file: valid once the painter on this device has ended.
    std::vector<std::uint8_t> Bytes() const;
    // Texts are written with the metafile's own alignment at their anchor.
    void SetTextAnchor(TextAnchor anchor) override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size_;
    int dpi_;
    std::unique_ptr<WmfPaintEngine> engine_;
};
