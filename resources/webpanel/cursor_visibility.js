// Keeps the pointer visible over video players that hide it (cursor: none).
// Runs in a world of its own, so the page cannot see or undo it; a cursor
// the page sets afterwards is never overwritten.
(function () {
  'use strict';
  let position = null;
  let updateScheduled = false;
  let override = null;  // { element, value, priority, applied }

  function restore() {
    const current = override;
    override = null;
    if (!current) return;
    const style = current.element.style;
    if (style.getPropertyValue('cursor') !== current.applied || style.getPropertyPriority('cursor') !== 'important') {
      return;
    }
    if (current.value) style.setProperty('cursor', current.value, current.priority);
    else style.removeProperty('cursor');
  }
  function isFullScreen() {
    return Boolean(document.fullscreenElement || document.webkitFullscreenElement);
  }
  function elementAt(x, y) {
    let element = document.elementFromPoint(x, y);
    while (element && element.shadowRoot) {
      const inner = element.shadowRoot.elementFromPoint(x, y);
      if (!inner || inner === element) break;
      element = inner;
    }
    return element;
  }
  function inPlayerRegion(element) {
    for (let node = element; node && node !== document.body && node !== document.documentElement;
         node = node.parentElement) {
      if (node.tagName === 'VIDEO' || node.classList.contains('html5-video-player') || node.querySelector('video')) {
        return true;
      }
    }
    return false;
  }
  function update() {
    updateScheduled = false;
    if (!position || document.hidden || document.pointerLockElement || isFullScreen()) {
      restore();
      return;
    }
    const element = elementAt(position.x, position.y);
    if (override && override.element !== element) restore();
    if (!element || !inPlayerRegion(element)) {
      restore();
      return;
    }
    if (getComputedStyle(element).cursor !== 'none') return;
    restore();
    const applied = element.closest('a[href], button, [role="button"]') ? 'pointer' : 'default';
    override = {
      element: element,
      value: element.style.getPropertyValue('cursor'),
      priority: element.style.getPropertyPriority('cursor'),
      applied: applied
    };
    element.style.setProperty('cursor', applied, 'important');
  }
  function scheduleUpdate() {
    if (!position || updateScheduled) return;
    updateScheduled = true;
    requestAnimationFrame(update);
  }
  function track(event) {
    if (!event.isTrusted) return;
    position = { x: event.clientX, y: event.clientY };
    update();
  }
  function forget() {
    position = null;
    restore();
  }

  document.addEventListener('mouseover', track, { capture: true, passive: true });
  document.addEventListener('mousemove', track, { capture: true, passive: true });
  document.addEventListener('mouseout', function (event) { if (!event.relatedTarget) forget(); }, true);
  window.addEventListener('blur', forget);
  window.addEventListener('pagehide', forget);
  document.addEventListener('visibilitychange', function () { if (document.hidden) forget(); });
  document.addEventListener('fullscreenchange', update);
  document.addEventListener('webkitfullscreenchange', update);
  document.addEventListener('pointerlockchange', update);
  new MutationObserver(scheduleUpdate).observe(document.documentElement, {
    childList: true, subtree: true, attributes: true, attributeFilter: ['class', 'style']
  });
})();
