// Allows playback and plays the page's media; with `rewind`, a paused element
// more than 2 s behind the hide-time checkpoint jumps back to it (never into
// the last quarter second, where it would end at once).
(function (rewind, token) {
  if (window.__tallowmereSetPlaybackAllowed) window.__tallowmereSetPlaybackAllowed(true);
  const media = Array.from(document.querySelectorAll('video,audio'));
  let target = media.find(function (m) { return !m.paused && !m.ended; });
  if (!target) {
    target = window.__tallowmerePrimaryMedia;
    if (!target || !target.isConnected || target.ended) {
      target = media.find(function (m) { return m.paused && !m.ended; });
    }
  }
  if (window.__tallowmereRestoreAudio) window.__tallowmereRestoreAudio(target);
  if (!target || !target.paused) return;
  const checkpoint = window.__tallowmereBackgroundCheckpoint;
  if (rewind && checkpoint && checkpoint.media === target && checkpoint.url === location.href &&
      isFinite(checkpoint.time) && checkpoint.time > 0 && isFinite(target.duration) && target.duration > 0 &&
      target.currentTime < checkpoint.time - 2) {
    target.currentTime = Math.min(checkpoint.time, Math.max(0, target.duration - 0.25));
  }
  const started = target.play();
  if (started && typeof started.catch === 'function') {
    started.catch(function (error) {
      // A play cut short by a pause or a new load is no refusal: reporting
      // it would turn off whatever the person asked for since.
      if (error && error.name === 'AbortError') return;
      try {
        window.webkit.messageHandlers.menuBarWebMedia.postMessage({
          playbackError: (error && error.name) || 'PlaybackError', url: location.href, token: token
        });
      } catch (e) {}
    });
  }
})
