(function (time) {
  const media = Array.from(document.querySelectorAll('video,audio'));
  const target = media.find(function (m) { return !m.paused && !m.ended; }) || media[0];
  if (target && isFinite(target.duration)) target.currentTime = Math.min(target.duration, time);
})
