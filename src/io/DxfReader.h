// The DXF floor plan held as a background: reading LINE, POLYLINE, ARC and CIRCLE, fitting, zooming, drawing, end-point snapping.
#pragma once
#include "model/Document.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace io {

struct DxfLine {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A polyline vertex; a marker (-1, -1, 0) precedes the vertices of each polyline.
struct DxfVertex {
    float x = 0, y = 0, bulge = 0;
    bool isMarker() const { return x == -1.0f && y == -1.0f && bulge == 0.0f; }
};

struct DxfArc {
    float left = 0, bottom = 0, right = 0, top = 0;  // bounding square of the circle
    float startDirX = 0, startDirY = 0;              // 5 radii out along the start angle
    float endDirX = 0, endDirY = 0;
    float startAngle = 0, endAngle = 0;              // degrees
    float cx = 0, cy = 0;                            // centre, for the true end points
};

struct DxfCircle {
    float left = 0, bottom = 0, right = 0, top = 0;
};

struct DxfExtents {
    float minX = 100, minY = 100, maxX = 0, maxY = 0;
    bool operator==(const DxfExtents&) const = default;
};

// The loaded drawing, in drawing units.
struct DxfDrawing {
    std::vector<DxfLine> lines;
    std::vector<DxfVertex> vertices;
    std::vector<DxfArc> arcs;
    std::vector<DxfCircle> circles;
    // Capacities fixed by the counting pass (entity counts plus the spare the drawing always kept).
    std::size_t lineCapacity = 0, vertexCapacity = 0, arcCapacity = 0, circleCapacity = 0;
    DxfExtents extents;
    // Number of LINE, POLYLINE/VERTEX, ARC and CIRCLE values after ENTITIES (the progress maximum).
    int countedEntities = 0;
};

// Why a load was refused; the previous drawing is kept in every case.
enum class DxfLoadError { None, CannotOpen, TooLarge, Malformed };

struct DxfParseResult {
    DxfLoadError error = DxfLoadError::None;
    DxfDrawing drawing;
};

// Called once per entity read with its number (from 1) and the counted maximum, so the caller can
// step its progress display.
using DxfProgress = std::function<void(int step, int maximum)>;

// Both passes over the bytes of a DXF file. Bounded: every entity read advances through the input, and
// groups are consumed two lines at a time, so work is linear in the input size.
DxfParseResult parseDxf(std::string_view bytes, const DxfProgress& progress = {});

// The drawing's wall material by layer, in drawing units: LINE, the segments of LWPOLYLINE and POLYLINE
// (straight, or arcs where a vertex carries a bulge) and ARC, in the file's order.
struct DxfLayerSegment {
    std::string layer;
    bool arc = false;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;          // a straight segment
    float cx = 0, cy = 0, r = 0, a1 = 0, a2 = 0;   // an arc: centre, radius, counter-clockwise from a1 to a2 (degrees)
};
struct DxfLayerDrawing {
    bool readable = false;
    std::vector<DxfLayerSegment> segments;
};
// One more bounded pass over the same bytes, reading the layer (group 8) of each entity; a file this pass
// cannot read gives a drawing that is not readable.
DxfLayerDrawing parseDxfLayers(std::string_view bytes);

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t kMaxDxfBytes = 256u * 1024u * 1024u;

// The holder of the loaded drawing and of its mapping onto the plan drawing surface.
class TfrmDXF {
public:
    // Reads the file; on any failure the system's message is shown and the previous drawing, its
    // extents and its mapping stay as they were. True when a new drawing was loaded.
    bool LoadDxf(const std::string& path, ui::Services& services);
    // The same from the bytes of a file already read (from `path`, named in the refusal, when there is one).
    bool loadFromBytes(std::string_view bytes, ui::Services& services, const std::string& path = {});

    // Fits the current extents into 80 % of the plan image; sets the plan scale (the window's label is the caller's).
    void FitDxfToView(model::Document& doc, int imageWidth, int imageHeight);
    // Zooms to a rectangle given in plan pixels, then fits; false (nothing changed) for a click.
    bool ZoomDxf(model::Document& doc, int x1, int y1, int x2, int y2, int imageWidth, int imageHeight);
    // Back to the extents of the whole drawing, then fits.
    void ResetDxfView(model::Document& doc, int imageWidth, int imageHeight);
    // Sets the drawing units per plan pixel directly (the plan was rescaled).
    void SetDxfScale(float s);

    // Paints the drawing in light blue on the plan image.
    void DrawDxf(ui::Surface& surface) const;

    // The nearest candidate end point closer than `best` (squared plan pixels); updates snapResult.
    double NearestDxfEndPoint(double best, int px, int py);

    bool loaded() const { return loaded_; }
    const DxfDrawing& drawing() const { return drawing_; }
    // The same drawing by layer, for turning its lines into walls.
    const DxfLayerDrawing& layers() const { return layers_; }
    const DxfExtents& fullExtents() const { return full_; }
    float scale() const { return s_; }
    int offsetX() const { return ox_; }
    int offsetY() const { return oy_; }
    int baseY() const { return baseY_; }
    ui::Point snapResult() const { return snap_; }

    // A drawing point on the plan, unrounded and truncated to whole plan pixels.
    double planX(float x) const;
    double planY(float y) const;
    int planXi(float x) const;
    int planYi(float y) const;

private:
    DxfDrawing drawing_;
    DxfLayerDrawing layers_;
    DxfExtents full_;
    bool loaded_ = false;
    float s_ = 1.0f;
    int ox_ = 0, oy_ = 0, baseY_ = 0;
    ui::Point snap_;
};

} // namespace io
