(function () {
  if (window.__tallowmereSetPlaybackAllowed) window.__tallowmereSetPlaybackAllowed(false);
  for (const media of document.querySelectorAll('video,audio')) {
    try { media.pause(); } catch (e) {}
  }
  return 'paused';
})();
