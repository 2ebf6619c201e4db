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

  // Every picture is decoded and every voice's length known before the show may start, so it
  // never waits in the middle.
  const pictures = slides.map((slide, index) => {
    if (!slide.picture) return null;
    const image = new Image();
    image.alt = fill(texts.pictureOf, index + 1, count);
    image.decoding = 'async';
    image.src = slide.picture;
    return image;
  });
  const voices = slides.map((slide) => {
    if (!slide.voice) return null;
    const audio = new Audio();
    audio.preload = 'auto';
    audio.src = slide.voice;
    return audio;
  });
  const pictureReady = pictures.map((image, index) =>
    image ? image.decode().catch(() => { pictures[index] = null; }) : null);
  const voiceReady = voices.map((audio, index) => audio && new Promise((resolve) => {
    const check = () => {
      if (Number.isFinite(audio.duration) && audio.duration > 0) resolve();
    };
    audio.addEventListener('loadedmetadata', check);
    audio.addEventListener('durationchange', check);
    audio.addEventListener('error', () => {
      voices[index] = null;
      resolve();
    });
    check();
  }));
  voices.forEach((audio, index) => {
    if (audio) audio.addEventListener('ended', () => onVoiceEnded(index));
  });
  // The first picture waits behind the start screen.
  if (count) render();
  Promise.all([...pictureReady, ...voiceReady]).then(() => {
    body.dataset.voices = voices
      .map((audio) => (audio && Number.isFinite(audio.duration) ? audio.duration.toFixed(2) : ''))
      .join(',');
    byId('loading').hidden = true;
    setState('ready');
    playButton.disabled = count === 0;
    playButton.focus();
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
    for (const audio of voices) {
      if (audio && !audio.paused) audio.pause();
    }
  };
  // Starts a voice; one that cannot be played leaves the picture up as if it had none.
  const playVoice = (audio, index) => {
    audio.playbackRate = Math.min(speed, 16);
    audio.play().catch((error) => {
      if (error && error.name === 'AbortError') return;  // paused or moved on meanwhile
      if (index !== current || !voicePlaying) return;
      voicePlaying = false;
      voices[index] = null;
      if (state === 'playing') startTimer(slides[index].withoutVoiceMs / speed);
      else remaining = slides[index].withoutVoiceMs / speed;
    });
  };

  const begin = () => {
    begun = true;
    const audio = voices[current];
    if (audio) {
      voicePlaying = true;
      audio.currentTime = 0;
      playVoice(audio, current);
    } else {
      startTimer(slides[current].withoutVoiceMs / speed);
    }
  };
  function onVoiceEnded(index) {
    if (index !== current || !voicePlaying) return;
    voicePlaying = false;
    if (state === 'paused') remaining = slides[index].afterVoiceMs / speed;
    else startTimer(slides[index].afterVoiceMs / speed);
  }

  function render() {
    const image = pictures[current];
    if (image) pictureBox.replaceChildren(image);
    else pictureBox.replaceChildren();
    const message = slides[current].message;
    caption.textContent = message;
    caption.hidden = message === '';
  }
  function enter(index) {
    stopVoice();
    stopTimer();
    begun = false;
    remaining = 0;
    current = index;
    body.dataset.slide = String(index + 1);
    if (!inShow()) setState('playing');
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
    setState('ended');
    endScreen.hidden = false;
    againButton.focus();
  }

  const start = () => {
    if (state !== 'ready') return;
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
      if (voicePlaying) voices[current].pause();
      if (timer) {
        remaining = Math.max(0, timerEnds - performance.now());
        stopTimer();
      }
    } else if (state === 'paused') {
      setState('playing');
      if (!begun) begin();
      else if (voicePlaying) playVoice(voices[current], current);
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
