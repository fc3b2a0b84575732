// Where the media was when the panel hid, so a resume can jump back to it
// when the page fell behind while hidden.
(function () {
  const media = window.__tallowmerePrimaryMedia ||
    Array.from(document.querySelectorAll('video,audio')).find(function (m) { return !m.paused && !m.ended; });
  if (!media) return;
  window.__tallowmereBackgroundCheckpoint = {
    media: media,
    time: isFinite(media.currentTime) ? media.currentTime : 0,
    url: location.href
  };
})();
