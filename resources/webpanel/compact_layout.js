// Blows the page's playing video up to fill the view, hiding everything
// around it, and undoes it. Defined for the panel, not installed by it.
(function () {
  'use strict';
  if (window.__tallowbySetCompactMedia) return;

  const rootClass = 'tlw-compact-media';
  const pathMark = 'data-tlw-media-path';
  const mediaMark = 'data-tlw-media';
  const style = document.createElement('style');
  style.textContent = [
    'html.' + rootClass + ', html.' + rootClass + ' body { width: 100vw !important; height: 100vh !important;',
    '  margin: 0 !important; padding: 0 !important; overflow: hidden !important; background: #000 !important;',
    '  transform: none !important; perspective: none !important; filter: none !important; contain: none !important; }',
    'html.' + rootClass + ' [' + pathMark + '] { position: fixed !important; inset: 0 !important;',
    '  width: 100% !important; height: 100% !important; min-width: 0 !important; min-height: 0 !important;',
    '  max-width: none !important; max-height: none !important; margin: 0 !important; padding: 0 !important;',
    '  border: 0 !important; transform: none !important; filter: none !important; contain: none !important;',
    '  clip-path: none !important; overflow: visible !important; background: transparent !important;',
    '  z-index: auto !important; visibility: visible !important; opacity: 1 !important; }',
    'html.' + rootClass + ' [' + pathMark + '] > :not([' + pathMark + ']):not([' + mediaMark + ']) {',
    '  visibility: hidden !important; pointer-events: none !important; }',
    'html.' + rootClass + ' video[' + mediaMark + '] { position: fixed !important; inset: 0 !important;',
    '  width: 100% !important; height: 100% !important; object-fit: contain !important;',
    '  background: #000 !important; visibility: visible !important; opacity: 1 !important;',
    '  z-index: 2147483647 !important; }'
  ].join('\n');
  (document.head || document.documentElement).appendChild(style);

  let enabled = false;
  let marked = [];
  let applyScheduled = false;

  function clear() {
    document.documentElement.classList.remove(rootClass);
    for (const element of document.querySelectorAll('[' + pathMark + '],[' + mediaMark + ']')) {
      element.removeAttribute(pathMark);
      element.removeAttribute(mediaMark);
    }
    marked = [];
  }
  function chainOf(video) {
    const chain = [video];
    for (let node = video.parentElement; node; node = node.parentElement) chain.push(node);
    return chain;
  }
  function apply() {
    applyScheduled = false;
    if (!enabled) { clear(); return; }
    const candidates = Array.from(document.querySelectorAll('video')).filter(function (v) {
      return v.isConnected && v.readyState >= 2 && v.videoWidth > 0 && v.videoHeight > 0;
    });
    const pick = candidates.find(function (v) { return !v.paused && !v.ended; }) || candidates[0];
    if (!pick) { clear(); return; }
    const chain = chainOf(pick);
    if (chain.length === marked.length && chain.every(function (e, i) { return e === marked[i]; })) return;
    clear();
    pick.setAttribute(mediaMark, '');
    for (const ancestor of chain.slice(1)) ancestor.setAttribute(pathMark, '');
    document.documentElement.classList.add(rootClass);
    marked = chain;
  }
  function scheduleApply() {
    if (!enabled || applyScheduled) return;
    applyScheduled = true;
    requestAnimationFrame(apply);
  }

  new MutationObserver(scheduleApply).observe(document.documentElement, { childList: true, subtree: true });
  for (const type of ['play', 'playing', 'loadeddata', 'canplay', 'emptied', 'error', 'resize']) {
    document.addEventListener(type, function () { if (enabled) apply(); }, true);
  }
  window.__tallowbySetCompactMedia = function (value) {
    enabled = Boolean(value);
    apply();
  };
})();
