#include "platform/ui/view.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "platform/gfx/canvas.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/dragging_info.h"
#include "platform/ui/layer_animation_ticker.h"
#include "platform/ui/tracking_area.h"
#include "platform/ui/view_event_router.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

double finiteOr(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

Rect sanitized(Rect rect) {
    return {finiteOr(rect.origin.x, 0), finiteOr(rect.origin.y, 0), std::max(0.0, finiteOr(rect.size.width, 0)),
            std::max(0.0, finiteOr(rect.size.height, 0))};
}

Rect rectFromCorners(Point a, Point b) {
    const double x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    return {x0, y0, std::max(a.x, b.x) - x0, std::max(a.y, b.y) - y0};
}

bool sameWindow(const std::weak_ptr<Window>& a, const std::weak_ptr<Window>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

// Moves one axis of a frame as the platform's autoresizing does: the
// superview's change of length is shared among the flexible parts (margin
// before, length, margin after) in proportion to their current lengths, or
// equally when they are all zero.
void autoresizeAxis(double& origin, double& length, double oldParentLength, double delta, bool minFlexible,
                    bool lengthFlexible, bool maxFlexible) {
    const double minMargin = origin;
    const double maxMargin = oldParentLength - origin - length;
    const int flexibleCount = int(minFlexible) + int(lengthFlexible) + int(maxFlexible);
    if (flexibleCount == 0 || delta == 0) return;
    double total = 0;
    if (minFlexible) total += std::max(0.0, minMargin);
    if (lengthFlexible) total += std::max(0.0, length);
    if (maxFlexible) total += std::max(0.0, maxMargin);
    auto share = [&](bool flexible, double part) {
        if (!flexible) return 0.0;
        return total > 0 ? delta * std::max(0.0, part) / total : delta / flexibleCount;
    };
    const double originShare = share(minFlexible, minMargin);
    const double lengthShare = share(lengthFlexible, length);
    origin += originShare;
    length = std::max(0.0, length + lengthShare);
}

// Marks only order one another; no value means anything by itself, so one
// count serves every context.
std::atomic<std::uint64_t> displayMarks{0};

std::uint64_t nextDisplayMark() { return ++displayMarks; }

}  // namespace

std::shared_ptr<View> View::make(Rect frame) { return std::shared_ptr<View>(new View(frame)); }

View::View(Rect frame) : frame_(sanitized(frame)), displayMark_(nextDisplayMark()), subviewsMark_(displayMark_) {}

View::~View() {
    for (auto& subview : subviews_) {
        subview->superview_ = nullptr;
        subview->propagateWindow({});
    }
}

// --- Geometry -------------------------------------------------------------

void View::setFrame(Rect frame) {
    frame = sanitized(frame);
    if (frame == frame_) return;
    const Size oldSize = frame_.size;
    frame_ = frame;
    if (!(oldSize == frame.size)) {
        resizeSubviews(oldSize);
        needsLayout_ = true;
        viewDidChangeSize(oldSize);
        updateTrackingAreas();
    }
    setNeedsDisplay();
    if (superview_) superview_->setNeedsDisplay();
}

void View::setBoundsOrigin(Point origin) {
    origin = {finiteOr(origin.x, 0), finiteOr(origin.y, 0)};
    if (origin == boundsOrigin_) return;
    boundsOrigin_ = origin;
    updateTrackingAreas();
    setNeedsDisplay();
}

void View::setFlipped(bool flipped) {
    if (flipped == flipped_) return;
    flipped_ = flipped;
    needsLayout_ = true;
    setNeedsDisplay();
}

// --- The tree -------------------------------------------------------------

bool View::addSubview(std::shared_ptr<View> view) { return addSubview(std::move(view), Order::above, nullptr); }

bool View::addSubview(std::shared_ptr<View> view, Order order, const View* relativeTo) {
    if (!view || isDescendantOf(*view)) return false;
    if (view->superview_ == this) {
        std::erase(subviews_, view);
    } else {
        view->removeFromSuperview();
    }
    auto position = subviews_.end();
    auto relative = std::find_if(subviews_.begin(), subviews_.end(),
                                 [&](const std::shared_ptr<View>& s) { return s.get() == relativeTo; });
    if (relative != subviews_.end()) {
        position = order == Order::above ? relative + 1 : relative;
    } else if (order == Order::below) {
        position = subviews_.begin();
    }
    subviews_.insert(position, view);
    view->superview_ = this;
    view->propagateWindow(window_);
    didAddSubview(*view);
    view->viewDidMoveToSuperview();
    invalidateLayoutUpward();
    setNeedsDisplay();
    return true;
}

void View::removeFromSuperview() {
    View* parent = superview_;
    if (!parent) return;
    if (auto router = eventRouter()) router->viewWillLeaveTree(*this);
    parent->willRemoveSubview(*this);
    auto it = std::find_if(parent->subviews_.begin(), parent->subviews_.end(),
                           [&](const std::shared_ptr<View>& s) { return s.get() == this; });
    // Keeps this view alive until the removal is finished, even when the
    // superview held the last reference.
    std::shared_ptr<View> keepAlive = it != parent->subviews_.end() ? *it : nullptr;
    if (it != parent->subviews_.end()) parent->subviews_.erase(it);
    superview_ = nullptr;
    propagateWindow({});
    parent->invalidateLayoutUpward();
    parent->setNeedsDisplay();
    viewDidMoveToSuperview();
}

void View::removeAllSubviews() {
    while (!subviews_.empty()) subviews_.back()->removeFromSuperview();
}

bool View::isDescendantOf(const View& ancestor) const {
    for (const View* v = this; v; v = v->superview_)
        if (v == &ancestor) return true;
    return false;
}

std::shared_ptr<View> View::rootView() {
    View* top = this;
    while (top->superview_) top = top->superview_;
    return top->weak_from_this().lock();
}

std::shared_ptr<View> View::findView(const std::string& identifier) {
    if (identifier_ == identifier) return weak_from_this().lock();
    for (auto& subview : subviews_)
        if (auto found = subview->findView(identifier)) return found;
    return nullptr;
}

std::shared_ptr<View> View::findViewWithTag(int tag) {
    if (tag_ == tag) return weak_from_this().lock();
    for (auto& subview : subviews_)
        if (auto found = subview->findViewWithTag(tag)) return found;
    return nullptr;
}

std::shared_ptr<View> View::superview() const { return superview_ ? superview_->weak_from_this().lock() : nullptr; }

std::shared_ptr<Window> View::window() const { return window_.lock(); }

void View::setWindowOfTree(std::weak_ptr<Window> window) { propagateWindow(window); }

void View::propagateWindow(const std::weak_ptr<Window>& window) {
    const bool changed = !sameWindow(window_, window);
    window_ = window;
    if (changed) {
        viewDidMoveToWindow();
        updateTrackingAreas();
        if (layer_.hasAnimations()) noteLayerAnimations();
    }
    for (auto& subview : subviews_) subview->propagateWindow(window);
}

// --- Looks ------------------------------------------------------------------

void View::setHidden(bool hidden) {
    if (hidden == hidden_) return;
    hidden_ = hidden;
    if (hidden) cachedSubviews_.reset();
    if (superview_) {
        superview_->invalidateLayoutUpward();
        superview_->setNeedsDisplay();
    }
    setNeedsDisplay();
    if (auto* ticker = LayerAnimationTicker::sharedIfMade()) ticker->visibilityMayHaveChanged();
}

bool View::isHiddenOrHasHiddenAncestor() const {
    for (const View* v = this; v; v = v->superview_)
        if (v->hidden_) return true;
    return false;
}

void View::setAlphaValue(double alpha) {
    alpha = std::isnan(alpha) ? 0 : std::clamp(alpha, 0.0, 1.0);
    if (alpha == alpha_) return;
    alpha_ = alpha;
    if (alpha_ >= 1) cachedSubviews_.reset();
    setLayerNeedsDisplay();
}

std::string View::accessibilityRole() const { return accessibilityRole_.empty() ? "AXGroup" : accessibilityRole_; }

LayerStyle& View::mutableLayer() {
    wantsLayer_ = true;
    setNeedsDisplay();
    return layer_;
}

void View::addLayerAnimation(const std::string& gradientName, LayerKeyframeAnimation animation) {
    auto* gradient = mutableLayer().gradient(gradientName);
    if (!gradient) return;
    gradient->addAnimation(std::move(animation));
    noteLayerAnimations();
}

void View::setLayerTiming(const std::string& gradientName, LayerTiming timing) {
    auto* gradient = mutableLayer().gradient(gradientName);
    if (!gradient) return;
    gradient->timing = timing;
}

void View::noteLayerAnimations() {
    // Inside a constructor there is no owner yet; entering a window tells
    // the ticker then.
    auto self = weak_from_this().lock();
    if (self && !window_.expired()) {
        LayerAnimationTicker::shared().watch(self);
    } else if (auto* ticker = LayerAnimationTicker::sharedIfMade()) {
        ticker->visibilityMayHaveChanged();
    }
}

void View::setAppearance(std::optional<Appearance> appearance) {
    if (appearance == appearance_) return;
    appearance_ = appearance;
    noteEffectiveAppearanceChanged();
}

Appearance View::effectiveAppearance() const {
    for (const View* v = this; v; v = v->superview_)
        if (v->appearance_) return *v->appearance_;
    return currentAppearance();
}

void View::noteEffectiveAppearanceChanged() {
    viewDidChangeEffectiveAppearance();
    setNeedsDisplay();
    for (auto& subview : subviews_)
        if (!subview->appearance_) subview->noteEffectiveAppearanceChanged();
}

// --- Drawing ------------------------------------------------------------------

void View::setNeedsDisplay(bool needs) {
    needsDisplay_ = needs;
    if (needs) subviewsMark_ = displayMark_ = nextDisplayMark();
}

void View::setLayerNeedsDisplay() {
    needsDisplay_ = true;
    displayMark_ = nextDisplayMark();
}

void View::setCachesSubviewsWhileTranslucent(bool caches) {
    cachesSubviewsWhileTranslucent_ = caches;
    if (!caches) cachedSubviews_.reset();
}

std::uint64_t View::latestDisplayMark() { return displayMarks.load(); }

bool View::subtreeNeedsDisplay() const {
    // A hidden view shows nothing; hiding or showing it marks its superview.
    if (hidden_) return false;
    if (needsDisplay_) return true;
    return std::any_of(subviews_.begin(), subviews_.end(),
                       [](const std::shared_ptr<View>& s) { return s->subtreeNeedsDisplay(); });
}

void View::draw(Canvas& canvas, Rect dirty) {
    (void)canvas;
    (void)dirty;
}

void View::display(Canvas& canvas) { displayWithin(canvas, std::nullopt); }

void View::display(Canvas& canvas, Rect dirty) { displayWithin(canvas, dirty); }

Rect View::drawingExtent() const {
    // A focus ring or a bezel's outer edge may stand a little outside.
    double reach = 4;
    Size offset{};
    if (layer_.shadow) {
        reach += 2 * layer_.shadow->blurRadius;
        offset = layer_.shadow->offset;
    }
    const Rect around = frame_.insetBy(-reach, -reach);
    // Which way a y-up offset falls in the superview depends on its flippedness.
    const double dy = superviewIsFlipped() ? -offset.height : offset.height;
    return around.unionWith(Rect{around.origin.x + offset.width, around.origin.y + dy, around.width(), around.height()});
}

Size View::drawingReach() const {
    const Rect extent = drawingExtent();
    return {std::max(frame_.minX() - extent.minX(), extent.maxX() - frame_.maxX()),
            std::max(frame_.minY() - extent.minY(), extent.maxY() - frame_.maxY())};
}

void View::displayWithin(Canvas& canvas, const std::optional<Rect>& dirty) {
    if (hidden_) return;
    if (dirty && !drawingExtent().intersects(*dirty)) return;
    canvas.save();
    canvas.translate(frame_.origin.x, frame_.origin.y);
    if (isFlipped() != superviewIsFlipped()) {
        canvas.translate(0, frame_.size.height);
        canvas.scale(1, -1);
    }
    canvas.translate(-boundsOrigin_.x, -boundsOrigin_.y);
    if (alpha_ < 1) canvas.setAlpha(canvas.state().alpha * alpha_);

    const Appearance outerAppearance = canvas.appearance();
    const Appearance appearance = effectiveAppearance();
    canvas.setAppearance(appearance);
    std::optional<ScopedAppearance> scoped;
    if (AppContext::hasCurrent()) scoped.emplace(appearance);

    drawLayer(canvas);
    const Rect b = bounds();
    const bool clips = clipsToBounds();
    if (clips) canvas.clip(layer_.cornerRadius > 0 ? Path::roundedRect(b, layer_.cornerRadius) : Path::rect(b));
    draw(canvas, b);
    std::optional<Rect> dirtyHere;
    if (dirty) dirtyHere = rectFromCorners(fromSuperview(dirty->origin), fromSuperview({dirty->maxX(), dirty->maxY()}));
    // A long document scrolled in a clip view is mostly out of sight.
    if (clips) dirtyHere = dirtyHere ? dirtyHere->intersection(b) : b;
    displaySubviews(canvas, dirtyHere);
    if (layer_.borderWidth > 0) {
        canvas.setStrokeColor(layer_.borderColor);
        canvas.setLineWidth(layer_.borderWidth);
        const Rect edge = b.insetBy(layer_.borderWidth / 2, layer_.borderWidth / 2);
        const double radius = std::max(0.0, layer_.cornerRadius - layer_.borderWidth / 2);
        canvas.stroke(radius > 0 ? Path::roundedRect(edge, radius) : Path::rect(edge));
    }
    scoped.reset();
    canvas.setAppearance(outerAppearance);
    canvas.restore();
    needsDisplay_ = false;
}

void View::displaySubviews(Canvas& canvas, const std::optional<Rect>& dirty) {
    const auto children = subviews_;  // drawing must not be disturbed by a tree change
    const auto drawChildren = [&](const std::optional<Rect>& within) {
        for (auto& subview : children) subview->displayWithin(canvas, within);
    };
    if (!cachesSubviewsWhileTranslucent_ || alpha_ >= 1) {
        cachedSubviews_.reset();
        drawChildren(dirty);
        return;
    }
    // Whatever is marked from here on may not be in the picture.
    const std::uint64_t drawnThrough = latestDisplayMark();
    if (cachedSubviews_) {
        if (auto changed = changesSinceCachedSubviews()) {
            auto& kept = *cachedSubviews_;
            if (changed->empty() || canvas.redrawLayer(*kept.picture, *changed, drawChildren)) {
                kept.drawnThrough = drawnThrough;
                if (canvas.drawLayer(*kept.picture)) return;
            }
        }
    }
    auto picture = canvas.makeLayer(bounds(), [&] { drawChildren(std::nullopt); });
    if (!picture) {
        cachedSubviews_.reset();
        drawChildren(dirty);
        return;
    }
    canvas.drawLayer(*picture);
    cachedSubviews_ = CachedSubviews{std::move(picture), drawnThrough};
}

std::optional<std::vector<Rect>> View::changesSinceCachedSubviews() const {
    const std::uint64_t drawnThrough = cachedSubviews_->drawnThrough;
    if (subviewsMark_ > drawnThrough) return std::nullopt;
    std::vector<Rect> changed;
    // Hidden views show nothing; hiding or showing one marks its superview.
    const auto collect = [&](const View& view, const auto& self) -> void {
        if (view.hidden_) return;
        if (view.displayMark_ > drawnThrough) {
            const Size reach = view.drawingReach();
            changed.push_back(view.convert(view.bounds(), this).insetBy(-reach.width, -reach.height));
        }
        for (const auto& subview : view.subviews_) self(*subview, self);
    };
    for (const auto& subview : subviews_) collect(*subview, collect);
    return changed;
}

void View::drawLayer(Canvas& canvas) const {
    const Rect b = bounds();
    const auto shapeOf = [&](double radius) { return radius > 0 ? Path::roundedRect(b, radius) : Path::rect(b); };
    if (layer_.backgroundColor) {
        canvas.save();
        if (layer_.shadow) canvas.setShadow(layer_.shadow);
        canvas.setFillColor(*layer_.backgroundColor);
        canvas.fill(shapeOf(layer_.cornerRadius));
        canvas.restore();
    }
    for (const auto& model : layer_.gradients) {
        // Animations run on the uptime clock, read as the layer is drawn.
        const LayerGradient gradient = model.animations.empty() || !AppContext::hasCurrent()
                                           ? model
                                           : model.presentation(AppContext::current().clock().uptime());
        if (gradient.colors.empty()) continue;
        std::vector<Gradient::Stop> stops;
        for (std::size_t i = 0; i < gradient.colors.size(); ++i) {
            const double location = i < gradient.locations.size() ? gradient.locations[i]
                                    : gradient.colors.size() == 1 ? 0
                                                                  : double(i) / double(gradient.colors.size() - 1);
            stops.push_back({location, gradient.colors[i]});
        }
        // Unit points are y-up; a flipped view measures y from the top.
        const auto unitToBounds = [&](Point unit) {
            const double y = isFlipped() ? b.maxY() - unit.y * b.height() : b.minY() + unit.y * b.height();
            return Point{b.minX() + unit.x * b.width(), y};
        };
        canvas.save();
        canvas.clip(shapeOf(gradient.cornerRadius));
        canvas.drawLinearGradient(Gradient(std::move(stops)), unitToBounds(gradient.startPoint),
                                  unitToBounds(gradient.endPoint));
        canvas.restore();
    }
}

// --- Hit testing and conversion ----------------------------------------------

std::shared_ptr<View> View::hitTest(Point pointInSuperview) {
    if (hidden_) return nullptr;
    const Point local = fromSuperview(pointInSuperview);
    if (!bounds().contains(local)) return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it)
        if (auto hit = (*it)->hitTest(local)) return hit;
    return weak_from_this().lock();
}

bool View::superviewIsFlipped() const { return superview_ && superview_->isFlipped(); }

Point View::toSuperview(Point point) const {
    const double x = frame_.origin.x + (point.x - boundsOrigin_.x);
    const double localY = point.y - boundsOrigin_.y;
    const double y = isFlipped() != superviewIsFlipped() ? frame_.origin.y + frame_.size.height - localY
                                                         : frame_.origin.y + localY;
    return {x, y};
}

Point View::fromSuperview(Point point) const {
    const double x = point.x - frame_.origin.x + boundsOrigin_.x;
    const double localY = isFlipped() != superviewIsFlipped() ? frame_.origin.y + frame_.size.height - point.y
                                                              : point.y - frame_.origin.y;
    return {x, localY + boundsOrigin_.y};
}

Point View::convert(Point point, const View* to) const {
    for (const View* v = this; v; v = v->superview_) point = v->toSuperview(point);
    return to ? to->convertFrom(point, nullptr) : point;
}

Point View::convertFrom(Point point, const View* from) const {
    if (from) point = from->convert(point, nullptr);
    std::vector<const View*> chain;
    for (const View* v = this; v; v = v->superview_) chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) point = (*it)->fromSuperview(point);
    return point;
}

Rect View::convert(Rect rect, const View* to) const {
    return rectFromCorners(convert(rect.origin, to), convert(Point{rect.maxX(), rect.maxY()}, to));
}

Rect View::convertFrom(Rect rect, const View* from) const {
    return rectFromCorners(convertFrom(rect.origin, from), convertFrom(Point{rect.maxX(), rect.maxY()}, from));
}

Point View::windowOriginOnScreen() const {
    auto owner = window();
    if (!owner) return {};
    // Window coordinates are a translation of screen space.
    const Point originInWindow = owner->locationInWindow(ScreenPoint{0, 0});
    return {-originInWindow.x, -originInWindow.y};
}

ScreenPoint View::convertToScreen(Point point) const {
    const Point inWindow = convertToWindow(point);
    const Point origin = windowOriginOnScreen();
    return {inWindow.x + origin.x, inWindow.y + origin.y};
}

ScreenRect View::convertToScreen(Rect rect) const {
    const Rect inWindow = convert(rect, nullptr);
    const Point origin = windowOriginOnScreen();
    return {inWindow.origin.x + origin.x, inWindow.origin.y + origin.y, inWindow.size.width, inWindow.size.height};
}

Point View::convertFromScreen(ScreenPoint point) const {
    const Point origin = windowOriginOnScreen();
    return convertFromWindow({point.x - origin.x, point.y - origin.y});
}

Point View::locationInView(const Event& event) const { return convertFromScreen(event.location); }

Rect View::visibleRect() const {
    if (isHiddenOrHasHiddenAncestor()) return {};
    Rect visible = bounds();
    for (const View* ancestor = superview_; ancestor; ancestor = ancestor->superview_) {
        visible = visible.intersection(convertFrom(ancestor->bounds(), ancestor));
        if (visible.isEmpty()) return {};
    }
    return visible;
}

// --- Responding to events ----------------------------------------------------

void View::passToSuperview(void (View::*hook)(const Event&), const Event& event) {
    if (superview_) (superview_->*hook)(event);
}

void View::mouseDown(const Event& event) { passToSuperview(&View::mouseDown, event); }
void View::mouseDragged(const Event& event) { passToSuperview(&View::mouseDragged, event); }
void View::mouseUp(const Event& event) { passToSuperview(&View::mouseUp, event); }
void View::rightMouseDown(const Event& event) { passToSuperview(&View::rightMouseDown, event); }
void View::rightMouseUp(const Event& event) { passToSuperview(&View::rightMouseUp, event); }
void View::mouseMoved(const Event& event) { passToSuperview(&View::mouseMoved, event); }
void View::mouseEntered(const Event& event) { passToSuperview(&View::mouseEntered, event); }
void View::mouseExited(const Event& event) { passToSuperview(&View::mouseExited, event); }
void View::scrollWheel(const Event& event) { passToSuperview(&View::scrollWheel, event); }
void View::keyUp(const Event& event) { passToSuperview(&View::keyUp, event); }

void View::keyDown(const Event& event) {
    if (superview_) {
        superview_->keyDown(event);
    } else if (auto router = router_.lock()) {
        router->keyDownReachedRoot(event);
    }
}

bool View::performKeyEquivalent(const Event& event) {
    const auto children = subviews_;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (!(*it)->hidden_ && (*it)->performKeyEquivalent(event)) return true;
    return false;
}

std::shared_ptr<ViewEventRouter> View::eventRouter() const {
    const View* top = this;
    while (top->superview_) top = top->superview_;
    return top->router_.lock();
}

bool View::makeFirstResponder() {
    auto router = eventRouter();
    auto self = weak_from_this().lock();
    return router && self && router->makeFirstResponder(self);
}

// --- Tracking areas -------------------------------------------------------------

void View::addTrackingArea(std::shared_ptr<TrackingArea> area) {
    if (!area) return;
    if (auto owner = area->view(); owner && owner.get() != this) owner->removeTrackingArea(area);
    if (std::find(trackingAreas_.begin(), trackingAreas_.end(), area) != trackingAreas_.end()) return;
    area->view_ = weak_from_this();
    trackingAreas_.push_back(std::move(area));
}

void View::removeTrackingArea(const std::shared_ptr<TrackingArea>& area) {
    if (!area) return;
    const auto before = trackingAreas_.size();
    std::erase(trackingAreas_, area);
    if (trackingAreas_.size() != before) area->view_.reset();
}

// --- Layout -----------------------------------------------------------------------

Size View::intrinsicContentSize() const { return {noIntrinsicMetric, noIntrinsicMetric}; }

void View::invalidateIntrinsicContentSize() {
    invalidateLayoutUpward();
    setNeedsDisplay();
}

void View::invalidateLayoutUpward() {
    for (View* v = this; v; v = v->superview_) {
        v->needsLayout_ = true;
        v->measured_ = {};
    }
}

Size View::cachedIntrinsicContentSize() const {
    if (!measured_.intrinsic) measured_.intrinsic = intrinsicContentSize();
    return *measured_.intrinsic;
}

std::optional<double> View::widthNeededByPlacedSubviews() const {
    std::optional<double> needed;
    for (const auto& subview : subviews_) {
        const auto& placement = subview->placement_;
        if (!placement || subview->hidden_) continue;
        const double width = subview->fittingWidth();
        std::optional<double> length;
        if (placement->leading || placement->trailing) {
            length = placement->leading.value_or(0) + width + placement->trailing.value_or(0);
        } else if (placement->centerX) {
            length = width + 2 * std::abs(*placement->centerX);
        }
        if (length) needed = std::max(needed.value_or(0), *length);
    }
    return needed;
}

double View::fittingWidth() const {
    if (measured_.width) return *measured_.width;
    const double intrinsic = cachedIntrinsicContentSize().width;
    const double width = intrinsic != noIntrinsicMetric ? intrinsic : widthNeededByPlacedSubviews().value_or(0);
    measured_.width = sizeConstraints_.apply(LayoutAxis::horizontal, width);
    return *measured_.width;
}

double View::fittingHeightForWidth(double width) const {
    auto& known = measured_.heightForWidth;
    for (const auto& [askedWidth, height] : known)
        if (askedWidth == width) return height;
    const double height = measureFittingHeightForWidth(width);
    // A layout pass asks for a handful of widths; a view resized by hand
    // through many widths keeps only the latest few.
    if (known.size() >= 8) known.erase(known.begin());
    known.emplace_back(width, height);
    return height;
}

double View::measureFittingHeightForWidth(double width) const {
    const double intrinsic = cachedIntrinsicContentSize().height;
    if (intrinsic != noIntrinsicMetric) return sizeConstraints_.apply(LayoutAxis::vertical, intrinsic);
    std::optional<double> needed;
    for (const auto& subview : subviews_) {
        const auto& placement = subview->placement_;
        if (!placement || subview->hidden_) continue;
        double childWidth = subview->fittingWidth();
        if (placement->leading && placement->trailing)
            childWidth = subview->sizeConstraints_.apply(LayoutAxis::horizontal,
                                                         std::max(0.0, width - *placement->leading - *placement->trailing));
        const double height = subview->fittingHeightForWidth(childWidth);
        std::optional<double> length;
        if (placement->top || placement->bottom) {
            length = placement->top.value_or(0) + height + placement->bottom.value_or(0);
        } else if (placement->centerY) {
            length = height + 2 * std::abs(*placement->centerY);
        }
        if (length) needed = std::max(needed.value_or(0), *length);
    }
    return sizeConstraints_.apply(LayoutAxis::vertical, needed.value_or(0));
}

Size View::fittingSize() const {
    if (!measured_.fitting) measured_.fitting = measureFittingSize();
    return *measured_.fitting;
}

Size View::measureFittingSize() const {
    const double width = fittingWidth();
    return {width, fittingHeightForWidth(width)};
}

void View::setSizeConstraints(SizeConstraints constraints) {
    if (constraints == sizeConstraints_) return;
    sizeConstraints_ = constraints;
    invalidateLayoutUpward();
}

void View::setFixedSize(Size size) {
    auto constraints = sizeConstraints_;
    constraints.width = size.width;
    constraints.height = size.height;
    setSizeConstraints(constraints);
}

void View::setFixedWidth(std::optional<double> width) {
    auto constraints = sizeConstraints_;
    constraints.width = width;
    setSizeConstraints(constraints);
}

void View::setFixedHeight(std::optional<double> height) {
    auto constraints = sizeConstraints_;
    constraints.height = height;
    setSizeConstraints(constraints);
}

void View::setPlacement(std::optional<Placement> placement) {
    if (placement == placement_) return;
    placement_ = placement;
    if (superview_) superview_->invalidateLayoutUpward();
}

double View::contentHuggingPriority(LayoutAxis axis) const {
    if (auto set = hugging_[int(axis)]) return *set;
    // A view with content (intrinsic, or subviews placed in it) keeps its
    // size; an empty one is a flexible spacer.
    const Size intrinsic = cachedIntrinsicContentSize();
    const bool hasIntrinsic = (axis == LayoutAxis::horizontal ? intrinsic.width : intrinsic.height) != noIntrinsicMetric;
    const bool hasPlacedSubviews = std::any_of(subviews_.begin(), subviews_.end(),
                                               [](const std::shared_ptr<View>& s) { return s->placement_.has_value(); });
    return hasIntrinsic || hasPlacedSubviews ? LayoutPriority::defaultHigh : LayoutPriority::defaultLow;
}

void View::setContentHuggingPriority(double priority, LayoutAxis axis) {
    hugging_[int(axis)] = std::clamp(finiteOr(priority, LayoutPriority::defaultLow), 1.0, LayoutPriority::required);
    if (superview_) superview_->invalidateLayoutUpward();
}

double View::compressionResistancePriority(LayoutAxis axis) const {
    return compression_[int(axis)].value_or(LayoutPriority::defaultHigh);
}

void View::setCompressionResistancePriority(double priority, LayoutAxis axis) {
    compression_[int(axis)] = std::clamp(finiteOr(priority, LayoutPriority::defaultHigh), 1.0, LayoutPriority::required);
    if (superview_) superview_->invalidateLayoutUpward();
}

void View::setNeedsLayout(bool needs) {
    needsLayout_ = needs;
    // Asked for by hand, layout measures this view afresh.
    if (needs) measured_ = {};
}

void View::layoutSubtreeIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        layout();
    }
    const auto children = subviews_;
    for (auto& subview : children) subview->layoutSubtreeIfNeeded();
}

void View::layout() {
    for (auto& subview : subviews_)
        if (subview->placement_) applyPlacement(*subview);
}

void View::applyPlacement(View& subview) const {
    const Placement& p = *subview.placement_;
    const Rect b = bounds();
    Rect frame = subview.frame_;
    const auto& limits = subview.sizeConstraints_;

    if (p.leading && p.trailing) {
        frame.size.width = limits.apply(LayoutAxis::horizontal, std::max(0.0, b.width() - *p.leading - *p.trailing));
        frame.origin.x = b.minX() + *p.leading;
    } else if (p.leading || p.trailing || p.centerX) {
        frame.size.width = subview.fittingWidth();
        frame.origin.x = p.leading    ? b.minX() + *p.leading
                         : p.trailing ? b.maxX() - *p.trailing - frame.size.width
                                      : b.midX() - frame.size.width / 2 + *p.centerX;
    }

    // Vertical pins count from the visual top; offsets grow downward.
    const bool flipped = isFlipped();
    if (p.top && p.bottom) {
        frame.size.height = limits.apply(LayoutAxis::vertical, std::max(0.0, b.height() - *p.top - *p.bottom));
        frame.origin.y = b.minY() + (flipped ? *p.top : *p.bottom);
    } else if (p.top || p.bottom || p.centerY) {
        const double h = subview.fittingHeightForWidth(frame.size.width);
        frame.size.height = h;
        if (p.top) {
            frame.origin.y = flipped ? b.minY() + *p.top : b.maxY() - *p.top - h;
        } else if (p.bottom) {
            frame.origin.y = flipped ? b.maxY() - *p.bottom - h : b.minY() + *p.bottom;
        } else {
            frame.origin.y = b.midY() - h / 2 + (flipped ? *p.centerY : -*p.centerY);
        }
    }
    subview.setFrame(frame);
}

void View::resizeSubviews(Size oldSize) {
    const double dx = frame_.size.width - oldSize.width;
    const double dy = frame_.size.height - oldSize.height;
    for (auto& subview : subviews_) {
        const AutoresizingMask mask = subview->autoresizingMask_;
        if (subview->placement_ || mask == AutoresizingMask::none) continue;
        Rect f = subview->frame_;
        autoresizeAxis(f.origin.x, f.size.width, oldSize.width, dx, contains(mask, AutoresizingMask::minXMargin),
                       contains(mask, AutoresizingMask::widthSizable), contains(mask, AutoresizingMask::maxXMargin));
        autoresizeAxis(f.origin.y, f.size.height, oldSize.height, dy, contains(mask, AutoresizingMask::minYMargin),
                       contains(mask, AutoresizingMask::heightSizable), contains(mask, AutoresizingMask::maxYMargin));
        subview->setFrame(f);
    }
}

DragOperation View::draggingEntered(const DraggingInfo&) { return DragOperation::none; }

bool View::performDragOperation(const DraggingInfo&) { return false; }

}  // namespace tallowmere::platform
