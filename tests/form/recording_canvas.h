#pragma once
// A canvas that draws nothing and keeps every call, so that the table painter can be
// tested without a window.
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace karvelo::test {

struct CanvasCall {
    enum Kind { Clip, Fill, Frame, Sunken, Picture, Text, Shadow } kind = Clip;
    TwipRect rect;         // the rectangle drawn, the caster for a shadow
    int picture = 0;       // Picture
    int32_t colour = 0;    // Fill, Frame, Text; the dark edge for Sunken
    float size = 0;        // Frame's thickness, Shadow's offset
    std::string text;      // Text
    LabelFont font = LabelFont::Letter;
    PixelBox clip;         // Clip
};

class RecordingCanvas final : public Canvas {
public:
    explicit RecordingCanvas(int dpi = 96) : dpi_(dpi) {}
    int Dpi() const override { return dpi_; }
    void ClipTo(const PixelBox& pixels) override { Add(CanvasCall::Clip, {}).clip = pixels; }
    void Fill(const TwipRect& rect, int32_t colour) override { Add(CanvasCall::Fill, rect).colour = colour; }
    void Frame(const TwipRect& rect, float thickness, int32_t colour) override {
        CanvasCall& c = Add(CanvasCall::Frame, rect);
        c.colour = colour;
        c.size = thickness;
    }
    void SunkenFrame(const TwipRect& rect, const SunkenEdge& edge) override {
        Add(CanvasCall::Sunken, rect).colour = edge.dark;
    }
    bool Picture(int number, const TwipRect& rect) override {
        Add(CanvasCall::Picture, rect).picture = number;
        return number != missing;
    }
    void Text(const TwipRect& box, const std::string& text, LabelFont font, int32_t colour) override {
        CanvasCall& c = Add(CanvasCall::Text, box);
        c.text = text;
        c.font = font;
        c.colour = colour;
    }
    void Shadow(const TwipRect& caster, float offset, float, int) override {
        Add(CanvasCall::Shadow, caster).size = offset;
    }

    // The calls of one kind, in order.
    std::vector<CanvasCall> Of(CanvasCall::Kind kind) const {
        std::vector<CanvasCall> out;
        for (const CanvasCall& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }

    std::vector<CanvasCall> calls;
    int missing = -1;  // a picture number the canvas has no picture for

private:
    CanvasCall& Add(CanvasCall::Kind kind, const TwipRect& rect) {
        calls.emplace_back();
        calls.back().kind = kind;
        calls.back().rect = rect;
        return calls.back();
    }
    int dpi_;
};

}  // namespace karvelo::test
