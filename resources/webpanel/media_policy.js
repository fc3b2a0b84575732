// Keeps media from starting until the person touches the page or the panel's
// play control allows it, in this frame and, through the frame channel, in
// every child frame (cross-origin ones included, each with its own copy).
(function () {
  'use strict';
  if (window.__tallowmerePlaybackPolicyInstalled) return;
  window.__tallowmerePlaybackPolicyInstalled = true;

  const channel = 'tallowmere-playback-policy';
  const preferenceKey = 'tallowmere-audio-preference';
  const mediaProto = HTMLMediaElement.prototype;
  const originalPlay = mediaProto.play;
  const originalPause = mediaProto.pause;
  let allowed = false;
  let audioControlUntil = 0;
  let preference = null;
  try {
    const stored = JSON.parse(window.sessionStorage.getItem(preferenceKey));
    if (stored && typeof stored.muted === 'boolean' && typeof stored.volume === 'number' &&
        stored.volume >= 0 && stored.volume <= 1) {
      preference = { muted: stored.muted, volume: stored.volume };
    }
  } catch (e) {}

  function post(name, body) {
    try { window.webkit.messageHandlers[name].postMessage(body); } catch (e) {}
  }
  function isMedia(node) { return node instanceof HTMLMediaElement; }
  function allMedia() { return document.querySelectorAll('video,audio'); }
  function pauseAll() {
    for (const media of allMedia()) { try { originalPause.call(media); } catch (e) {} }
  }
  function childFrames() { return document.querySelectorAll('iframe,frame'); }
  function sendState() {
    for (const frame of childFrames()) {
      try { frame.contentWindow.postMessage({ channel: channel, type: 'state', allowed: allowed }, '*'); } catch (e) {}
    }
  }

  // Audio contexts the page makes, so a suspended one can be reported and resumed.
  const audioContexts = [];
  if (typeof Proxy === 'function') {
    for (const name of ['AudioContext', 'webkitAudioContext']) {
      const Original = window[name];
      if (typeof Original !== 'function') continue;
      window[name] = new Proxy(Original, {
        construct(target, args, newTarget) {
          const context = Reflect.construct(target, args, newTarget);
          audioContexts.push(context);
          return context;
        }
      });
    }
  }
  window.__tallowmereAudioSuspended = function () {
    return audioContexts.some(function (context) { return context.state === 'suspended'; });
  };

  function applyAudioPreference(media) {
    try {
      if (preference) {
        media.volume = preference.volume;
        media.muted = preference.muted;
      } else {
        media.muted = false;
        if (media.volume === 0) media.volume = 1;
      }
    } catch (e) {}
  }
  function rememberAudio(media) {
    preference = { muted: media.muted, volume: media.volume };
    try { window.sessionStorage.setItem(preferenceKey, JSON.stringify(preference)); } catch (e) {}
  }
  window.__tallowmereRestoreAudio = function (media) {
    if (isMedia(media)) applyAudioPreference(media);
    for (const context of audioContexts) {
      if (context.state !== 'suspended') continue;
      try { context.resume().catch(function () {}); } catch (e) {}
    }
  };

  function setAllowed(value) {
    allowed = value === true;
    if (!allowed) pauseAll();
    sendState();
  }
  window.__tallowmereSetPlaybackAllowed = setAllowed;

  function onPlay(event) {
    const media = event.target;
    if (!isMedia(media)) return;
    if (!allowed) {
      try { originalPause.call(media); } catch (e) {}
      return;
    }
    applyAudioPreference(media);
    if (event.type === 'playing' && !preference && !media.muted && media.volume > 0) rememberAudio(media);
  }
  document.addEventListener('play', onPlay, true);
  document.addEventListener('playing', onPlay, true);
  document.addEventListener('volumechange', function (event) {
    // Only a change the person just asked for (a key or a volume control)
    // is remembered; pages change volume on their own too.
    if (isMedia(event.target) && Date.now() < audioControlUntil) rememberAudio(event.target);
  }, true);

  window.addEventListener('message', function (event) {
    const data = event.data;
    if (!data || typeof data !== 'object' || data.channel !== channel) return;
    if (data.type === 'state') {
      if (window.parent !== window && event.source === window.parent) setAllowed(data.allowed);
    } else if (data.type === 'request') {
      for (const frame of childFrames()) {
        if (frame.contentWindow !== event.source) continue;
        try { event.source.postMessage({ channel: channel, type: 'state', allowed: allowed }, '*'); } catch (e) {}
        return;
      }
    }
  });
  if (window.parent !== window) {
    try { window.parent.postMessage({ channel: channel, type: 'request' }, '*'); } catch (e) {}
  }

  mediaProto.play = function () {
    if (!allowed) {
      try { originalPause.call(this); } catch (e) {}
      return Promise.reject(new DOMException('Playback requires a user action.', 'NotAllowedError'));
    }
    return originalPlay.apply(this, arguments);
  };

  const textEntry = 'input, textarea, [contenteditable]';
  function closest(node, selector) { return node instanceof Element ? node.closest(selector) : null; }
  function onPlayerSurface(node) {
    if (!(node instanceof Element)) return false;
    if (node.closest('video, audio, [class*="player"], [class*="Player"], [class*="ytp-"]')) return true;
    return node.querySelector('video, audio') !== null;
  }
  function onIntent(event) {
    if (!event.isTrusted) return;
    const target = event.target;
    if (event.type === 'keydown') {
      const key = event.key;
      if (key !== ' ' && key !== 'Enter') {
        if ((key === 'ArrowUp' || key === 'ArrowDown' || key === 'm' || key === 'M') && !closest(target, textEntry)) {
          audioControlUntil = Date.now() + 1000;
        }
        return;
      }
      if (event.ctrlKey || event.metaKey || event.altKey || event.isComposing || closest(target, textEntry)) return;
    }
    const control = closest(target, 'button, [role="button"], input, [role="slider"]');
    const words = control
      ? [control.getAttribute('aria-label') || '', control.getAttribute('title') || '',
         typeof control.className === 'string' ? control.className : ''].join(' ')
      : '';
    if (onPlayerSurface(target) || /mute|unmute|volume|静音|音量|声音/i.test(words)) {
      audioControlUntil = Date.now() + 1000;
    }
    setAllowed(true);
    post('menuBarWebPlaybackIntent', { userInitiated: true });
  }
  document.addEventListener('pointerdown', onIntent, true);
  document.addEventListener('keydown', onIntent, true);

  function enforce() {
    if (!allowed) pauseAll();
    sendState();
  }
  document.addEventListener('DOMContentLoaded', enforce, true);
  new MutationObserver(enforce).observe(document, { childList: true, subtree: true });
})();
