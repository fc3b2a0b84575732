#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/drag_operation.h"
#include "platform/desktop/event.h"
#include "platform/gfx/appearance.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/layer_style.h"
#include "platform/ui/layout_types.h"

namespace tallowmere::platform {

struct DraggingInfo;

class Canvas;
class CanvasLayer;
class TrackingArea;
class ViewEventRouter;
class Window;

// Which edges and lengths of a view follow its superview's size when no
// placement is set. The raw values are the platform's bits.
enum class AutoresizingMask : unsigned {
    none = 0,
    minXMargin = 1,
    widthSizable = 2,
    maxXMargin = 4,
    minYMargin = 8,
    heightSizable = 16,
    maxYMargin = 32,
};
constexpr AutoresizingMask operator|(AutoresizingMask a, AutoresizingMask b) {
    return static_cast<AutoresizingMask>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool contains(AutoresizingMask mask, AutoresizingMask bit) {
    return (static_cast<unsigned>(mask) & static_cast<unsigned>(bit)) != 0;
}

// The shape the pointer takes over a view (its cursor rectangle).
enum class CursorShape { arrow, pointingHand, openHand, closedHand, iBeam, crosshair };

// A rectangle of the program's own interface: a node of a window's view tree.
//
// Coordinates. A view's `frame` is in its superview's coordinates; its
// `bounds` are its own (origin 0, 0 unless scrolled). Views are y-up with
// the origin at the bottom-left, as on the Mac, unless `isFlipped()`, which
// puts the origin at the top-left with y growing down. A view whose
// flippedness differs from its superview's is mirrored inside its frame.
// Window coordinates are those of the content view's superview: y-up, origin
// at the bottom-left of the window's content area.
//
// Ownership. A view owns its subviews; its superview and window are weak
// links. Views are made through `make` (and subclasses' factories), so they
// are always held by std::shared_ptr.
//
// Layout. Explicit and top-down: `layoutSubtreeIfNeeded` runs `layout()` on
// each view marked for it, which places that view's subviews: by their
// `placement` (pins to the edges and centre) by default, by arrangement in
// stack, grid and table views. Subviews without a placement follow their
// autoresizing mask when their superview changes size. `fittingSize` is the
// size layout gives a view that nothing stretches.
//
// Events. Mouse and key hooks receive the Event as the desktop made it; the
// location is in screen space, `convertFromWindow`/`locationInView` turn it
// into view coordinates. A hook that a view does not handle passes the event
// to its superview (the next responder), as the Mac's responder chain does.
class View : public std::enable_shared_from_this<View> {
public:
    // The intrinsic length of a view that has none along an axis.
    static constexpr double noIntrinsicMetric = -1;

    static std::shared_ptr<View> make(Rect frame = {});
    virtual ~View();

    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // --- Geometry -----------------------------------------------------------
    Rect frame() const { return frame_; }
    void setFrame(Rect frame);
    void setFrameOrigin(Point origin) { setFrame({origin, frame_.size}); }
    void setFrameSize(Size size) { setFrame({frame_.origin, size}); }
    Rect bounds() const { return {boundsOrigin_, frame_.size}; }
    // Scrolls the content: the point of the view's own space shown at its
    // origin corner.
    void setBoundsOrigin(Point origin);
    virtual bool isFlipped() const { return flipped_; }
    void setFlipped(bool flipped);

    // --- The tree -----------------------------------------------------------
    std::shared_ptr<View> superview() const;
    // Back to front: the last subview draws on top and is hit first.
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    enum class Order { above, below };
    // Adds on top of the others, first removing the view from any superview.
    // Adding a view to itself or to one of its own descendants is refused.
    bool addSubview(std::shared_ptr<View> view);
    // Adds `view` just above or below `relativeTo` (on top or at the bottom
    // of all when `relativeTo` is not a subview).
    bool addSubview(std::shared_ptr<View> view, Order order, const View* relativeTo);
    void removeFromSuperview();
    void removeAllSubviews();
    bool isDescendantOf(const View& ancestor) const;  // true for the view itself
    // The view at the top of this view's tree.
    std::shared_ptr<View> rootView();
    // The first view in this subtree (depth first) with that identifier or tag.
    std::shared_ptr<View> findView(const std::string& identifier);
    std::shared_ptr<View> findViewWithTag(int tag);

    // The window whose content this view's tree is. Set by the window on the
    // content view and inherited by every descendant.
    std::shared_ptr<Window> window() const;
    // For the window that installs this view as its content view (or takes
    // it out, with an empty pointer). Calls `viewDidMoveToWindow` down the tree.
    void setWindowOfTree(std::weak_ptr<Window> window);

    // --- Looks ----------------------------------------------------------------
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    // Hidden itself or inside a hidden ancestor.
    bool isHiddenOrHasHiddenAncestor() const;
    double alphaValue() const { return alpha_; }
    void setAlphaValue(double alpha);  // clamped to 0...1

    // -1 for a plain view, 0 for a control, until set.
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string toolTip) { toolTip_ = std::move(toolTip); }
    const std::string& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(std::string label) { accessibilityLabel_ = std::move(label); }
    // "AXButton", "AXStaticText", ...; subclasses answer their own.
    virtual std::string accessibilityRole() const;
    void setAccessibilityRole(std::string role) { accessibilityRole_ = std::move(role); }

    // Background, corners, border, shadow and gradients, drawn beneath the
    // view's own drawing. Changing it redraws the view.
    const LayerStyle& layer() const { return layer_; }
    LayerStyle& mutableLayer();
    // Runs `animation` on the layer gradient of that name (nothing when
    // there is none), replacing one of the same key, and keeps the view
    // redrawn while it shows (LayerAnimationTicker). Animations set up
    // before the view enters a window start showing when it does.
    void addLayerAnimation(const std::string& gradientName, LayerKeyframeAnimation animation);
    // Re-times the gradient's animations through its layer clock.
    void setLayerTiming(const std::string& gradientName, LayerTiming timing);
    bool wantsLayer() const { return wantsLayer_; }
    void setWantsLayer(bool wants) { wantsLayer_ = wants; }
    // Whether drawing, its own and its subviews', is cut at the bounds (with
    // the layer's corners): subviews wholly outside are then not drawn.
    virtual bool clipsToBounds() const { return layer_.masksToBounds; }

    // Light or dark: the view's own, else its superview's, else the
    // application's.
    std::optional<Appearance> appearance() const { return appearance_; }
    void setAppearance(std::optional<Appearance> appearance);
    Appearance effectiveAppearance() const;
    // Tells this subtree the effective appearance may have changed (the
    // application calls it on each window's content view).
    void noteEffectiveAppearanceChanged();

    // Pointer shape over the whole bounds; none leaves the arrow.
    std::optional<CursorShape> cursor() const { return cursor_; }
    void setCursor(std::optional<CursorShape> cursor) { cursor_ = cursor; }

    // --- Drawing ----------------------------------------------------------------
    bool needsDisplay() const { return needsDisplay_; }
    void setNeedsDisplay(bool needs = true);
    // Marks the view for display for a change of its own layer only (an
    // animation's frame): what it keeps of its subviews stays good.
    void setLayerNeedsDisplay();
    // When the view was last marked for display (made, or either mark above),
    // on a count all views share: each painter of the screen remembers how
    // far it has painted, whoever drew the view in between.
    std::uint64_t displayMark() const { return displayMark_; }
    // The latest mark given to any view.
    static std::uint64_t latestDisplayMark();
    // True when this view or any visible view below it needs display.
    bool subtreeNeedsDisplay() const;
    // Draws the view's own content; `dirty` is in the view's coordinates.
    // The canvas is already in those coordinates (origin and flip applied).
    virtual void draw(Canvas& canvas, Rect dirty);
    // Draws this view and its visible subviews into `canvas`, whose current
    // space is this view's superview's (or window coordinates for a root).
    // Clears the needs-display flags.
    void display(Canvas& canvas);
    // The same for a repaint of `dirty` (in the superview's space): views
    // whose drawing cannot reach it are skipped. The caller clips.
    void display(Canvas& canvas, Rect dirty);
    // How far past its frame a view's drawing may reach: its layer's shadow,
    // and a few points of focus ring.
    Rect drawingExtent() const;
    // The same as a distance past the frame, the widest of either side.
    Size drawingReach() const;
    // While the view is translucent, its subviews are drawn once into a
    // layer of its bounds, and that picture is painted at the view's alpha
    // on every frame, as one piece (so they do not show through each other).
    // Where a view inside is marked for display, that part of it is drawn
    // again; all of it when the view's own subviews change or it moves on
    // the canvas. The view's own layer and drawing stay live, so an
    // animated background goes on without redrawing what lies on it.
    // Meanwhile drawing past the bounds is cut off. For pages that fade.
    bool cachesSubviewsWhileTranslucent() const { return cachesSubviewsWhileTranslucent_; }
    void setCachesSubviewsWhileTranslucent(bool caches);

    // --- Hit testing and conversion ------------------------------------------
    // The deepest visible view under `point` (in the superview's
    // coordinates), this one included; none when the point is outside or
    // the view is hidden. Subviews are tried front to back.
    virtual std::shared_ptr<View> hitTest(Point pointInSuperview);
    // A point in this view's coordinates to the coordinates of `other`
    // (window coordinates when `other` is null), and back.
    Point convert(Point point, const View* to) const;
    Point convertFrom(Point point, const View* from) const;
    Rect convert(Rect rect, const View* to) const;
    Rect convertFrom(Rect rect, const View* from) const;
    Point convertToWindow(Point point) const { return convert(point, nullptr); }
    Point convertFromWindow(Point point) const { return convertFrom(point, nullptr); }
    // Screen space through the window; without a window, window coordinates
    // are taken as screen coordinates.
    ScreenPoint convertToScreen(Point point) const;
    ScreenRect convertToScreen(Rect rect) const;
    Point convertFromScreen(ScreenPoint point) const;
    // The event's screen location in this view's coordinates.
    Point locationInView(const Event& event) const;
    // The part of the bounds not clipped by hidden or scrolled ancestors.
    Rect visibleRect() const;

    // --- Responding to events ------------------------------------------------
    // Each passes the event to the superview unless a subclass handles it.
    virtual void mouseDown(const Event& event);
    virtual void mouseDragged(const Event& event);
    virtual void mouseUp(const Event& event);
    virtual void rightMouseDown(const Event& event);
    virtual void rightMouseUp(const Event& event);
    virtual void mouseMoved(const Event& event);
    virtual void mouseEntered(const Event& event);
    virtual void mouseExited(const Event& event);
    virtual void scrollWheel(const Event& event);
    virtual void keyDown(const Event& event);
    virtual void keyUp(const Event& event);
    // Offered to the whole tree before a key goes to the first responder;
    // true when a view used it. The default asks the subviews, front first.
    virtual bool performKeyEquivalent(const Event& event);

    // --- Drag destination ------------------------------------------------------
    // A drag from another application (files from Finder) that carries one
    // of these pasteboard types is offered to this view when the pointer is
    // over it (DragDestinationRouter). None registered: never offered.
    void registerForDraggedTypes(std::vector<std::string> types) { draggedTypes_ = std::move(types); }
    const std::vector<std::string>& registeredDraggedTypes() const { return draggedTypes_; }
    // The pointer came over the view with a drag: what a drop would do.
    virtual DragOperation draggingEntered(const DraggingInfo& info);
    // The drag left, or ended without a drop here.
    virtual void draggingExited() {}
    // The drop on a view that accepted the drag; true when it took the data.
    virtual bool performDragOperation(const DraggingInfo& info);

    // First responder: the view that receives keys in its window.
    virtual bool acceptsFirstResponder() const { return false; }
    // Asked when the window makes this view first responder; false refuses.
    virtual bool becomeFirstResponder() { return true; }
    // Asked when the window moves keys elsewhere; false keeps them here.
    virtual bool resignFirstResponder() { return true; }
    // True while this view's window has it as first responder.
    bool isFirstResponder() const { return firstResponder_; }
    // For the window: records the outcome of a first-responder change.
    void setIsFirstResponder(bool isFirst) { firstResponder_ = isFirst; }
    // Asks the tree's router (the window's) to make this view first
    // responder; false outside a routed tree or when refused.
    bool makeFirstResponder();
    // The router of the tree this view is in, if the tree has one.
    std::shared_ptr<ViewEventRouter> eventRouter() const;

    // --- Tracking areas ---------------------------------------------------------
    const std::vector<std::shared_ptr<TrackingArea>>& trackingAreas() const { return trackingAreas_; }
    void addTrackingArea(std::shared_ptr<TrackingArea> area);
    void removeTrackingArea(const std::shared_ptr<TrackingArea>& area);
    // Rebuilds tracking areas that depend on the bounds; called after a size
    // change and when the view enters a window. The default does nothing.
    virtual void updateTrackingAreas() {}

    // --- Layout -----------------------------------------------------------------
    // The natural size of the content, or noIntrinsicMetric per axis.
    virtual Size intrinsicContentSize() const;
    // The view's intrinsic size changed: ancestors lay out again.
    void invalidateIntrinsicContentSize();
    // The size layout gives the view when nothing stretches it: the size
    // constraints over the intrinsic size, over the size its placed subviews
    // need, over the current frame size.
    //
    // Both are measured once and remembered (the height per width asked)
    // until the view's content, font or constraints change, which forgets
    // them here and in every ancestor: a tree lays out in time linear in its
    // views, however deeply stacks nest. Subclasses measure in
    // `measureFittingSize` and `measureFittingHeightForWidth`, and call
    // `invalidateIntrinsicContentSize` whenever what those read changes.
    Size fittingSize() const;
    // The fitting height when layout gives the view `width` (wrapping text
    // grows taller as it gets narrower).
    double fittingHeightForWidth(double width) const;

    const SizeConstraints& sizeConstraints() const { return sizeConstraints_; }
    void setSizeConstraints(SizeConstraints constraints);
    void setFixedSize(Size size);
    void setFixedWidth(std::optional<double> width);
    void setFixedHeight(std::optional<double> height);

    const std::optional<Placement>& placement() const { return placement_; }
    void setPlacement(std::optional<Placement> placement);

    AutoresizingMask autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(AutoresizingMask mask) { autoresizingMask_ = mask; }

    // How strongly the view keeps its fitting length when a stack view has
    // room to give (hugging) or must take room away (compression resistance).
    // Views without intrinsic content hug weakly, so a plain view works as a
    // flexible spacer.
    double contentHuggingPriority(LayoutAxis axis) const;
    void setContentHuggingPriority(double priority, LayoutAxis axis);
    double compressionResistancePriority(LayoutAxis axis) const;
    void setCompressionResistancePriority(double priority, LayoutAxis axis);

    bool needsLayout() const { return needsLayout_; }
    void setNeedsLayout(bool needs = true);
    // Lays out every view of this subtree that needs it, top-down.
    void layoutSubtreeIfNeeded();
    // Places the subviews. The default applies each subview's placement.
    virtual void layout();

    // --- Hooks for subclasses ------------------------------------------------
    virtual void viewDidMoveToWindow() {}
    virtual void viewDidMoveToSuperview() {}
    virtual void viewDidChangeEffectiveAppearance() {}
    // After the frame's size changed (subviews already resized).
    virtual void viewDidChangeSize(Size oldSize) { (void)oldSize; }
    virtual void didAddSubview(View& subview) { (void)subview; }
    virtual void willRemoveSubview(View& subview) { (void)subview; }

protected:
    explicit View(Rect frame);

    // What `fittingSize` and `fittingHeightForWidth` remember.
    virtual Size measureFittingSize() const;
    virtual double measureFittingHeightForWidth(double width) const;
    // The intrinsic size, remembered like the fitting sizes.
    Size cachedIntrinsicContentSize() const;

    // Draws the layer style (gradients, background, border) of `bounds`.
    void drawLayer(Canvas& canvas) const;
    // The next responder for events a view does not handle.
    void passToSuperview(void (View::*hook)(const Event&), const Event& event);
    // The width the placed subviews need, when any is pinned or centred
    // horizontally.
    std::optional<double> widthNeededByPlacedSubviews() const;

private:
    friend class ViewEventRouter;

    // Maps a point between this view's space and its superview's (or window) space.
    Point toSuperview(Point point) const;
    Point fromSuperview(Point point) const;
    bool superviewIsFlipped() const;
    // Where window coordinates' origin lies on screen (0, 0 without a window).
    Point windowOriginOnScreen() const;
    void resizeSubviews(Size oldSize);
    void applyPlacement(View& subview) const;
    double fittingWidth() const;
    // Marks this view and its ancestors for layout: a change here may change
    // the size each of them needs.
    void invalidateLayoutUpward();
    void propagateWindow(const std::weak_ptr<Window>& window);
    // Tells the ticker this view's layer animates.
    void noteLayerAnimations();
    void displayWithin(Canvas& canvas, const std::optional<Rect>& dirty);
    // The subviews, directly or through the picture kept of them.
    void displaySubviews(Canvas& canvas, const std::optional<Rect>& dirty);
    // Where the views that show inside were marked since the picture was
    // drawn (their drawing's reach, in bounds coordinates); none when the
    // picture must be drawn whole.
    std::optional<std::vector<Rect>> changesSinceCachedSubviews() const;
    void detachFromWindowTree();

    Rect frame_;
    Point boundsOrigin_;
    bool flipped_ = false;
    // A weak back link, kept as a plain pointer because a std::weak_ptr
    // cannot be formed while a subclass builds its subviews in its own
    // constructor. The superview clears it when it lets go of this view or
    // is destroyed, so it never dangles; superview() hands out a shared_ptr.
    View* superview_ = nullptr;
    std::vector<std::shared_ptr<View>> subviews_;
    std::weak_ptr<Window> window_;
    std::weak_ptr<ViewEventRouter> router_;  // set on the root only

    bool hidden_ = false;
    double alpha_ = 1;
    int tag_ = -1;  // as the platform's plain views; controls start at 0
    std::string identifier_;
    std::string toolTip_;
    std::vector<std::string> draggedTypes_;
    std::string accessibilityLabel_;
    std::string accessibilityRole_;
    LayerStyle layer_;
    bool wantsLayer_ = false;
    std::optional<Appearance> appearance_;
    std::optional<CursorShape> cursor_;

    bool needsDisplay_ = true;
    std::uint64_t displayMark_;
    // The last mark that may change how the subviews draw here: all but
    // those of the view's alpha and its own layer.
    std::uint64_t subviewsMark_;
    bool cachesSubviewsWhileTranslucent_ = false;
    struct CachedSubviews {
        std::unique_ptr<CanvasLayer> picture;
        std::uint64_t drawnThrough = 0;  // the latest mark when it was drawn
    };
    std::optional<CachedSubviews> cachedSubviews_;
    bool needsLayout_ = true;
    bool firstResponder_ = false;

    std::vector<std::shared_ptr<TrackingArea>> trackingAreas_;

    SizeConstraints sizeConstraints_;
    std::optional<Placement> placement_;
    AutoresizingMask autoresizingMask_ = AutoresizingMask::none;
    std::optional<double> hugging_[2];
    std::optional<double> compression_[2];

    // Measured sizes, forgotten by invalidateLayoutUpward.
    struct MeasuredSizes {
        std::optional<Size> intrinsic;
        std::optional<double> width;
        std::optional<Size> fitting;
        std::vector<std::pair<double, double>> heightForWidth;
    };
    mutable MeasuredSizes measured_;
};

}  // namespace tallowmere::platform
