// The page's value controls, made for a thumb on a stage: a slider whose
// value moves only while its grip is dragged (a tap anywhere else changes
// nothing, and a swipe across it scrolls the page), and step buttons that
// move it by exactly one step per press and repeat steadily while held.
'use strict';
window.QrnControls = (function () {
  const GRIP = 36;        // px, as in remote.css
  const SEND_MS = 100;    // a drag or held key sends at most this often
  const OWN_MS = 500;     // a value moved here outlives the states already on their way
  const HOLD_MS = 450;    // a press held this long starts repeating
  const REPEAT_MS = 100;

  function el(tag, attrs, text) {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(attrs || {})) e.setAttribute(k, v);
    if (text !== undefined) e.textContent = text;
    return e;
  }

  // Sends the latest value of a gesture, no more often than SEND_MS, and
  // never the value the program already has (the last sent, or the state's).
  function pacedSender(send) {
    let last = -Infinity, timer = null, pending = null, sent = null;
    const now = v => {
      clearTimeout(timer);
      timer = null;
      pending = null;
      last = performance.now();
      sent = v;
      send(v);
    };
    return {
      begin(v) { sent = v; },
      now,
      soon(v) {
        pending = v;
        if (timer) return;
        const wait = last + SEND_MS - performance.now();
        if (wait <= 0) { if (v !== sent) now(v); return; }
        timer = setTimeout(() => { timer = null; if (pending !== null && pending !== sent) now(pending); }, wait);
      },
      flush() { if (timer && pending !== null && pending !== sent) now(pending); },
    };
  }

  // o: label, min, max, reversed (the largest value on the left), text(v)
  // (spoken(v) when a screen reader is to hear more than is shown),
  // shown(v) (the value is now this), send(v), settled() (called once a
  // value moved here may be shown from the state again). The native range
  // input stays the accessible control and takes the keyboard; only the
  // drawn grip takes a pointer.
  function valueSlider(o) {
    const wrap = el('div', { class: 'slider' });
    const input = el('input', { type: 'range', min: String(o.min), max: String(o.max), step: '1', 'aria-label': o.label });
    const track = el('div', { class: 'track' });
    const grip = el('div', { class: 'grip', 'aria-hidden': 'true' });
    wrap.append(track, input, grip);
    const span = o.max - o.min;
    const sender = pacedSender(o.send);
    let drag = null, ownedUntil = 0, settleTimer = null;

    const value = () => Number(input.value);
    const position = v => (o.reversed ? o.max - v : v - o.min);
    const atPosition = p => (o.reversed ? o.max - p : o.min + p);
    function show(v) {
      input.value = String(v);
      input.setAttribute('aria-valuetext', (o.spoken || o.text)(v));
      grip.style.setProperty('--at', String(position(v) / span));
      if (o.shown) o.shown(v);
    }
    function own() {
      ownedUntil = performance.now() + OWN_MS;
      clearTimeout(settleTimer);
      settleTimer = setTimeout(o.settled, OWN_MS + 20);
    }
    function moveTo(v) {
      show(Math.min(o.max, Math.max(o.min, v)));
      own();
    }

    grip.addEventListener('pointerdown', e => {
      if (input.disabled || e.button !== 0) return;
      e.preventDefault();
      grip.setPointerCapture(e.pointerId);
      drag = { id: e.pointerId, x: e.clientX, from: position(value()), per: Math.max(1, wrap.clientWidth - GRIP) / span };
      wrap.classList.add('dragging');
      own();
    });
    grip.addEventListener('pointermove', e => {
      if (!drag || e.pointerId !== drag.id || input.disabled) return;
      const p = Math.min(span, Math.max(0, drag.from + Math.round((e.clientX - drag.x) / drag.per)));
      if (atPosition(p) === value()) return;
      moveTo(atPosition(p));
      sender.soon(value());
    });
    const end = e => {
      if (!drag || e.pointerId !== drag.id) return;
      drag = null;
      wrap.classList.remove('dragging');
      if (!input.disabled) sender.flush();
      own();
    };
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) grip.addEventListener(type, end);
    // The keyboard and a screen reader's swipes move the native input.
    input.addEventListener('input', () => moveTo(value()));
    input.addEventListener('change', () => { moveTo(value()); sender.soon(value()); });

    return {
      element: wrap,
      input,
      // From the state: not while a finger is on it or what it sent is on its way.
      set(v) {
        if (drag || performance.now() < ownedUntil) return;
        show(v);
        sender.begin(v);
      },
      release() { ownedUntil = 0; },
      // One step right (+1) or left (-1): at once, one request.
      step(direction) {
        if (input.disabled) return;
        const v = atPosition(Math.min(span, Math.max(0, position(value()) + direction)));
        if (v === value()) return;
        moveTo(v);
        sender.now(v);
      },
      setDisabled(off) {
        input.disabled = off;
        wrap.classList.toggle('off', off);
        if (off && drag) { drag = null; wrap.classList.remove('dragging'); }
      },
    };
  }

  // One step per press (a tap, a click, Enter); held, one more every
  // REPEAT_MS after HOLD_MS, until the finger lifts or leaves it.
  function stepButton(label, glyph, onStep) {
    const b = el('button', { type: 'button', class: 'step', 'aria-label': label }, glyph);
    let timer = null, repeated = false;
    const stop = () => { clearTimeout(timer); clearInterval(timer); timer = null; };
    b.addEventListener('pointerdown', e => {
      stop();
      repeated = false;
      if (b.disabled || e.button !== 0) return;
      timer = setTimeout(() => {
        repeated = true;
        onStep();
        timer = setInterval(() => { if (b.disabled) stop(); else onStep(); }, REPEAT_MS);
      }, HOLD_MS);
    });
    for (const type of ['pointerup', 'pointercancel', 'pointerleave']) b.addEventListener(type, stop);
    b.addEventListener('click', e => {
      // The click that ends a held press has had its steps; a keyboard's has not.
      if (repeated && e.detail !== 0) { repeated = false; return; }
      if (!b.disabled) onStep();
    });
    b.addEventListener('contextmenu', e => e.preventDefault());
    return b;
  }

  return { valueSlider, stepButton, el };
})();
