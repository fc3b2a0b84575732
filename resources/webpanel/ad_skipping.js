// Finds and presses a video site's skip-ad control when the program asks, in
// this frame, its open shadow roots and, through the frame channel, every
// child frame; each frame reports what it found on its own.
(function () {
  'use strict';
  if (window.__tallowmereSkipAd) return;

  const channel = 'tallowmere-skip-ad';
  const knownControls = [
    '.ytp-ad-skip-button', '.ytp-ad-skip-button-modern', '.ytp-skip-ad-button', '.ytm-ad-skip-button',
    '.ytm-skip-ad-button', '.ad-skip-button', 'ytm-ad-skip-button-renderer', 'ytm-ad-skip-button',
    '.videoAdUiSkipButton', '.vjs-skip-ad', '.vjs-ad-skip-button'
  ].join(',');
  const adMarkers = [
    '.ad-showing', '.ad-interrupting', '.ytp-ad-player-overlay', 'ytm-ad-player-overlay-renderer',
    '.ytm-ad-player-overlay', '.videoAdUi', '.vjs-ad-playing'
  ].join(',');
  const playerContainers = '#movie_player, #player, .html5-video-player, ytm-player, .video-js';
  const buttons = 'button, [role="button"]';
  const skipLabel = /^(?:skip(?:\s+(?:ad|ads|advertisement))?|跳过(?:广告)?|跳過(?:廣告)?)(?:\s*[›»▶❯])?$/i;

  function searchRoots() {
    const roots = [document];
    for (let i = 0; i < roots.length; i++) {
      for (const element of roots[i].querySelectorAll('*')) {
        if (element.shadowRoot) roots.push(element.shadowRoot);
      }
    }
    return roots;
  }
  // The parent across a shadow root's edge.
  function parentOf(node) {
    if (node.parentElement) return node.parentElement;
    const root = node.getRootNode();
    return root instanceof ShadowRoot ? root.host : null;
  }
  function isVisible(element) {
    if (!element.isConnected || element.getClientRects().length === 0) return false;
    for (let node = element; node; node = parentOf(node)) {
      if (node.hidden || node.inert || node.getAttribute('aria-hidden') === 'true') return false;
      const style = getComputedStyle(node);
      if (style.display === 'none' || style.visibility === 'hidden' || parseFloat(style.opacity) === 0) return false;
    }
    return true;
  }
  function isEnabled(element) {
    if (element.matches(':disabled')) return false;
    for (let node = element; node; node = parentOf(node)) {
      if (node.matches('[disabled], [aria-disabled="true"], [inert]')) return false;
    }
    return true;
  }
  function isSkipLabel(text) { return skipLabel.test((text || '').trim()); }

  function attempt() {
    let detected = false;
    for (const root of searchRoots()) {
      for (const marker of root.querySelectorAll(adMarkers)) {
        if (isVisible(marker)) { detected = true; break; }
      }
      const candidates = Array.from(root.querySelectorAll(knownControls));
      for (const player of root.querySelectorAll(playerContainers)) {
        for (const button of player.querySelectorAll(buttons)) {
          if ([button.textContent, button.getAttribute('aria-label'), button.getAttribute('title')].some(isSkipLabel)) {
            candidates.push(button);
          }
        }
      }
      for (const candidate of candidates) {
        if (!isVisible(candidate)) continue;
        detected = true;
        const control = candidate.matches(buttons) ? candidate
          : Array.from(candidate.querySelectorAll(buttons)).find(function (b) { return isVisible(b) && isEnabled(b); });
        const target = control || candidate;
        if (!isEnabled(target) || !isEnabled(candidate)) continue;
        // A count-down ("Skip in 5") is no control to press yet.
        const text = (target.textContent || '') + ' ' + (target.getAttribute('aria-label') || '');
        if (/\d/.test(text) && !isSkipLabel(text)) continue;
        target.click();
        return 'clicked';
      }
    }
    return detected ? 'waiting' : 'unavailable';
  }

  window.__tallowmereSkipAd = function (request) {
    let status;
    try { status = attempt(); } catch (e) { status = 'error'; }
    try { window.webkit.messageHandlers.menuBarWebAdSkip.postMessage({ request: request, status: status }); } catch (e) {}
    try {
      for (const root of searchRoots()) {
        for (const frame of root.querySelectorAll('iframe,frame')) {
          try { frame.contentWindow.postMessage({ channel: channel, request: request }, '*'); } catch (e) {}
        }
      }
    } catch (e) {}
    return status;
  };

  window.addEventListener('message', function (event) {
    const data = event.data;
    if (window.parent === window || event.source !== window.parent) return;
    if (!data || typeof data !== 'object' || data.channel !== channel || typeof data.request !== 'string') return;
    window.__tallowmereSkipAd(data.request);
  });
})();
