// Tells the program whether the page holds media, whether it plays, and
// where it is. Only changed reports are sent; the position is floored to a
// quarter second, so steady playback reports about once a second. The token
// is the program's own, known only to this closure and the program: a frame
// cannot forge a report (a message does not say which frame sent it).
(function (token) {
  'use strict';
  if (window.__tallowmereMediaObserver) return;
  window.__tallowmereMediaObserver = true;
  let lastSent = '';

  function isPlaying(media) { return !media.paused && !media.ended; }
  function report() {
    const media = Array.from(document.querySelectorAll('video,audio'));
    const target = media.find(isPlaying) ||
      media.find(function (m) { return isFinite(m.duration) && m.duration > 0; }) || media[0] || null;
    if (target) window.__tallowmerePrimaryMedia = target;
    const position = target ? target.currentTime : 0;
    const body = {
      audioMuted: target ? target.muted : false,
      audioVolume: target ? target.volume : 1,
      audioSuspended: typeof window.__tallowmereAudioSuspended === 'function'
        ? window.__tallowmereAudioSuspended() === true : false,
      available: media.length > 0,
      playing: media.some(isPlaying),
      duration: target && isFinite(target.duration) ? target.duration : 0,
      currentTime: Math.floor(4 * (isFinite(position) ? position : 0)) / 4,
      url: location.href,
      token: token
    };
    const encoded = JSON.stringify(body);
    if (encoded === lastSent) return;
    lastSent = encoded;
    window.webkit.messageHandlers.menuBarWebMedia.postMessage(body);
  }

  for (const type of ['play', 'playing', 'pause', 'ended', 'loadedmetadata', 'emptied', 'volumechange']) {
    document.addEventListener(type, report, true);
  }
  let reportScheduled = false;
  new MutationObserver(function () {
    if (reportScheduled) return;
    reportScheduled = true;
    setTimeout(function () { reportScheduled = false; report(); }, 250);
  }).observe(document.documentElement, { childList: true, subtree: true });
  setInterval(report, 1000);
  report();
})
