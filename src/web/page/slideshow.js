'use strict';
// Plays the slideshow stored in this page: each picture stays while its voice plays, then for a
// pause to finish reading its message (the times come with the data, worked out by the program
// that wrote the page, the same way its own player works them out).
(() => {
  const body = document.body;
  const byId = (id) => document.getElementById(id);
  const data = JSON.parse(byId('show-data').textContent);
  const slides = data.slides;
  const count = slides.length;
  // Tests may run the show faster; people never need to.
  const speed = Math.min(100, Math.max(1, Number(new URLSearchParams(location.search).get('speed')) || 1));

  const stage = byId('stage');
  const pictureBox = byId('picture-box');
  const band = byId('band');
  const caption = byId('caption');
  const position = byId('position');
  const playButton = byId('play');
  const againButton = byId('play-again');
  const startScreen = byId('start-screen');
  const endScreen = byId('end-screen');
  const linksButton = byId('links-button');
  const linksMenu = byId('links-menu');

  let state = 'loading';
  let current = 0;
  let timer = 0;
  let timerEnds = 0;
  let remaining = 0;     // ms left of a timer stopped by a pause
  let begun = false;     // the current picture's voice or timer has started
  let voicePlaying = false;
  let positionTimer = 0;
  let pausedToRead = false;  // the show waits while a cut message is opened to be read

  const setState = (next) => {
    state = next;
    body.dataset.state = next;
  };
  const inShow = () => state === 'playing' || state === 'paused';

  body.dataset.slides = String(count);
  body.dataset.slide = count ? '1' : '0';
  byId('show-title').textContent = data.title;
  const texts = data.texts;
  const fill = (text, ...values) => values.reduce((out, value, i) => out.replace(`%${i + 1}`, value), text);
  byId('show-count').textContent = count === 1 ? texts.onePicture : fill(texts.pictures, count);

  // Only the picture shown, the next few and the one before hold decoded images, as the players
  // keep theirs: a phone could not hold hundreds of photos decoded at once. Each is decoded
  // ahead, so moving on never waits.
  const ahead = 2;
  const behind = 1;
  const held = new Map();  // index → its image
  const broken = slides.map((slide) => !slide.picture);
  const release = (index) => {
    held.get(index)?.removeAttribute('src');
    held.delete(index);
  };
  const hold = (index) => {
    if (index < 0 || index >= count || broken[index]) return null;
    let image = held.get(index);
    if (image) return image;
    image = new Image();
    image.alt = fill(texts.pictureOf, index + 1, count);
    image.decoding = 'async';
    image.src = slides[index].picture;
    image.ready = image.decode().catch(() => {
      // A picture the browser cannot read leaves its place black; one let go meanwhile is
      // only decoded again when it comes near.
      if (held.get(index) !== image) return;
      broken[index] = true;
      if (pictureBox.firstChild === image) pictureBox.replaceChildren();
      release(index);
    });
    held.set(index, image);
    return image;
  };
  const holdAround = (index) => {
    for (const kept of [...held.keys()])
      if (kept < index - behind || kept > index + ahead) release(kept);
    for (let i = index - behind; i <= index + ahead; ++i) hold(i);
  };
  if (count) holdAround(0);
  const firstDecoded = Promise.resolve(held.get(0)?.ready);

  // One element plays every voice: phones allow only a few media elements at a time, and one
  // that a first tap has unlocked stays unlocked.
  const player = new Audio();
  player.preload = 'auto';
  player.defaultPlaybackRate = Math.min(speed, 16);
  let playing = -1;  // the picture whose voice the player holds
  player.addEventListener('ended', () => onVoiceEnded(playing));
  player.addEventListener('error', () => onVoiceFailed(playing));

  // Each voice's length, read by short-lived elements a few at a time; a voice the browser
  // cannot read is played as if there were none.
  const lengths = slides.map(() => null);
  const unusable = slides.map((slide) => !slide.voice);
  const readLength = (index) => new Promise((resolve) => {
    const probe = new Audio();
    let done = false;
    const finish = (length) => {
      if (done) return;
      done = true;
      lengths[index] = length;
      if (length === null) unusable[index] = true;
      probe.removeAttribute('src');
      probe.load();
      resolve();
    };
    const check = () => {
      if (Number.isFinite(probe.duration) && probe.duration > 0) finish(probe.duration);
    };
    probe.addEventListener('loadedmetadata', check);
    probe.addEventListener('durationchange', check);
    probe.addEventListener('error', () => finish(null));
    probe.preload = 'metadata';
    probe.src = slides[index].voice;
  });
  const withVoice = slides.map((slide, index) => index).filter((index) => slides[index].voice);
  let nextToRead = 0;
  const reader = async () => {
    while (nextToRead < withVoice.length) await readLength(withVoice[nextToRead++]);
  };
  const lengthsKnown = Promise.all([reader(), reader(), reader(), reader()]).then(() => {
    body.dataset.voices =
      lengths.map((length) => (length === null ? '' : length.toFixed(2))).join(',');
  });

  // The first picture waits behind the start screen; Play comes once it is decoded.
  // Where a browser reads voices only after a tap, the show need not wait for their lengths.
  if (count) render();
  let canStart = false;
  firstDecoded.then(() => {
    canStart = count > 0;
    byId('loading').hidden = true;
    playButton.disabled = !canStart;
    playButton.focus();
  });
  Promise.all([firstDecoded, lengthsKnown]).then(() => {
    if (state === 'loading') setState('ready');
  });

  // A few seconds of "n / N" after every change; a paused show keeps it in view.
  const showPosition = () => {
    const paused = state === 'paused' ? `  (${texts.paused})` : '';
    position.textContent = `${current + 1} / ${count}${paused}`;
    position.classList.add('shown');
    clearTimeout(positionTimer);
    if (state !== 'paused') positionTimer = setTimeout(() => position.classList.remove('shown'), 2500);
  };

  const stopTimer = () => {
    clearTimeout(timer);
    timer = 0;
  };
  const startTimer = (ms) => {
    stopTimer();
    timerEnds = performance.now() + ms;
    timer = setTimeout(() => {
      timer = 0;
      if (current + 1 < count) enter(current + 1);
      else finish();
    }, ms);
  };
  const stopVoice = () => {
    voicePlaying = false;
    if (!player.paused) player.pause();
  };
  // A voice that cannot be played leaves the picture up as if it had none.
  function onVoiceFailed(index) {
    if (index !== current || !voicePlaying) return;
    voicePlaying = false;
    unusable[index] = true;
    if (state === 'playing') startTimer(slides[index].withoutVoiceMs / speed);
    else remaining = slides[index].withoutVoiceMs / speed;
  }
  const playVoice = () => {
    const index = current;
    player.play().catch((error) => {
      if (error && error.name === 'AbortError') return;  // paused or moved on meanwhile
      onVoiceFailed(index);
    });
  };

  const begin = () => {
    begun = true;
    if (unusable[current]) {
      startTimer(slides[current].withoutVoiceMs / speed);
      return;
    }
    voicePlaying = true;
    if (playing !== current) {
      playing = current;
      player.src = slides[current].voice;
    } else {
      player.currentTime = 0;
    }
    playVoice();
  };
  function onVoiceEnded(index) {
    if (index !== current || !voicePlaying) return;
    voicePlaying = false;
    if (state === 'paused') remaining = slides[index].afterVoiceMs / speed;
    else startTimer(slides[index].afterVoiceMs / speed);
  }

  function render() {
    holdAround(current);
    const image = held.get(current);
    if (image) pictureBox.replaceChildren(image);
    else pictureBox.replaceChildren();
    const message = slides[current].message;
    caption.textContent = message;
    // Blank lines alone say nothing: no band for them.
    band.hidden = message.trim() === '';
    band.classList.remove('open');
    fitCaption();
  }

  // The band shows as many lines as fit a third of the screen; a longer message ends in "…"
  // with a mark that there is more, and a tap or ↓ opens it whole to be scrolled.
  function fitCaption() {
    if (band.hidden || band.classList.contains('open')) return;
    const text = getComputedStyle(caption);
    const line = parseFloat(text.lineHeight) || 1.4 * parseFloat(text.fontSize);
    const box = getComputedStyle(band);
    const room = innerHeight / 3 - parseFloat(box.paddingTop) - parseFloat(box.paddingBottom);
    caption.style.setProperty('--lines', String(Math.max(1, Math.floor(room / line))));
    band.classList.toggle('cut', caption.scrollHeight > caption.clientHeight + 1);
  }
  addEventListener('resize', fitCaption);
  const openBand = () => {
    if (!band.classList.contains('cut') || band.classList.contains('open')) return false;
    band.classList.add('open');
    caption.scrollTop = 0;
    if (state === 'playing') {
      togglePause();
      pausedToRead = true;
    }
    return true;
  };
  const closeBand = () => {
    if (!band.classList.contains('open')) return false;
    band.classList.remove('open');
    fitCaption();
    if (pausedToRead && state === 'paused') togglePause();
    pausedToRead = false;
    return true;
  };
  const scrollBand = (lines) => {
    const line = parseFloat(getComputedStyle(caption).lineHeight) || 20;
    caption.scrollBy({ top: lines * line });
  };
  function enter(index) {
    stopVoice();
    stopTimer();
    begun = false;
    remaining = 0;
    current = index;
    body.dataset.slide = String(index + 1);
    if (!inShow() || pausedToRead) setState('playing');
    pausedToRead = false;
    // A hidden button would keep the keys for a moment after it is gone; the show takes them.
    if (stage !== document.activeElement) stage.focus({ preventScroll: true });
    endScreen.hidden = true;
    render();
    showPosition();
    if (state === 'playing') begin();
  }
  function finish() {
    stopVoice();
    stopTimer();
    closeLinks();
    clearTimeout(positionTimer);
    position.classList.remove('shown');
    setState('ended');
    endScreen.hidden = false;
    againButton.focus();
  }

  const start = () => {
    if (!canStart || (state !== 'loading' && state !== 'ready')) return;
    startScreen.hidden = true;
    setState('playing');
    enter(0);
  };
  const next = () => {
    if (state === 'ended') return;
    if (current + 1 < count) enter(current + 1);
    else finish();
  };
  const previous = () => {
    if (state === 'ended') enter(count - 1);
    else if (current > 0) enter(current - 1);
  };
  const togglePause = () => {
    if (state === 'playing') {
      setState('paused');
      if (voicePlaying) player.pause();
      if (timer) {
        remaining = Math.max(0, timerEnds - performance.now());
        stopTimer();
      }
    } else if (state === 'paused') {
      setState('playing');
      if (!begun) begin();
      else if (voicePlaying) playVoice();
      else if (remaining > 0) startTimer(remaining);
      remaining = 0;
    } else {
      return;
    }
    showPosition();
  };
  const toggleFullScreen = () => {
    const request = document.fullscreenElement
      ? document.exitFullscreen()
      : document.documentElement.requestFullscreen?.();
    if (request) request.catch(() => {});  // not allowed here: the page stays as it is
  };

  // The links the slideshow offers; only web and mail addresses become links.
  const safeAddress = (address) => {
    try {
      return ['http:', 'https:', 'mailto:'].includes(new URL(address).protocol);
    } catch {
      return false;
    }
  };
  const linkList = linksMenu.querySelector('ul');
  for (const link of data.links) {
    const item = document.createElement('li');
    const label = document.createElement(link.url && safeAddress(link.url) ? 'a' : 'span');
    label.textContent = link.caption;
    if (label.tagName === 'A') {
      label.href = link.url;
      label.target = '_blank';
      label.rel = 'noopener noreferrer';
    }
    item.append(label);
    linkList.append(item);
  }
  linksButton.hidden = data.links.length === 0;
  const openLinks = () => {
    linksMenu.hidden = false;
    linksButton.setAttribute('aria-expanded', 'true');
    linksMenu.querySelector('a')?.focus();
  };
  function closeLinks() {
    linksMenu.hidden = true;
    linksButton.setAttribute('aria-expanded', 'false');
  }
  linksButton.addEventListener('click', () => (linksMenu.hidden ? openLinks() : closeLinks()));

  playButton.addEventListener('click', start);
  againButton.addEventListener('click', () => enter(0));

  document.addEventListener('keydown', (event) => {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const onControl = event.target instanceof Element && event.target.closest('button, a');
    if (event.key === 'Escape') {
      if (!linksMenu.hidden) closeLinks();
      else if (closeBand()) return event.preventDefault();
      else if (inShow()) finish();
      else return;
    } else if (onControl && (event.key === ' ' || event.key === 'Enter')) {
      return;  // the button or link itself answers
    } else if (event.key === 'f' || event.key === 'F') {
      toggleFullScreen();
    } else if (state === 'ended' && event.key === 'Home') {
      enter(0);
    } else if (state === 'ended' && (event.key === 'ArrowLeft' || event.key === 'Backspace')) {
      previous();
    } else if (!inShow()) {
      return;
    } else if (event.key === ' ' || event.key === 'ArrowRight' || event.key === 'PageDown') {
      next();
    } else if (event.key === 'ArrowLeft' || event.key === 'Backspace' || event.key === 'PageUp') {
      previous();
    } else if (event.key === 'ArrowDown') {
      if (!openBand() && band.classList.contains('open')) scrollBand(2);
    } else if (event.key === 'ArrowUp') {
      if (caption.scrollTop > 0) scrollBand(-2);
      else closeBand();
    } else if (event.key === 'p' || event.key === 'P') {
      togglePause();
    } else if (event.key === 'Home') {
      enter(0);
    } else if (event.key === 'End') {
      enter(count - 1);
    } else {
      return;
    }
    event.preventDefault();
  });

  // A click or tap moves on; a swipe moves either way.
  let press = null;
  stage.addEventListener('pointerdown', (event) => {
    if (event.button === 0) press = { id: event.pointerId, x: event.clientX, y: event.clientY };
  });
  stage.addEventListener('pointercancel', () => { press = null; });
  stage.addEventListener('pointerup', (event) => {
    if (!press || press.id !== event.pointerId) return;
    const dx = event.clientX - press.x;
    const dy = event.clientY - press.y;
    press = null;
    if (!linksMenu.hidden) {
      closeLinks();
      return;
    }
    if (!inShow()) return;
    if (band.contains(event.target) && Math.hypot(dx, dy) < 15) {
      // A press on the opened band's scroll bar scrolls it and nothing more.
      if (event.target === caption && event.offsetX >= caption.clientWidth) return;
      if (closeBand() || openBand()) return;
    }
    if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy)) {
      if (dx < 0) next();
      else previous();
    } else if (Math.hypot(dx, dy) < 15) {
      next();
    }
  });
  stage.addEventListener('contextmenu', (event) => {
    if (data.links.length === 0) return;
    event.preventDefault();
    openLinks();
  });
})();
