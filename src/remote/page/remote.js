// The remote page: shows the state the program sends and sends what the
// controls ask for, the same requests the editor's own controls make.
'use strict';
(function () {
  const token = document.body.dataset.token;
  const CHANNELS = ['Left', 'Right'];
  const ROWS = 12;
  let tables = null;
  let state = null;
  let socket = null;
  let retry = null;
  let messageTimer = null;
  const rows = [[], []];        // per channel, per row: its controls
  const settings = [{}, {}];    // per channel, by key: its select
  const canvases = [];
  let held = null;              // the control a finger is on: not overwritten

  function el(tag, attrs, text) {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(attrs || {})) e.setAttribute(k, v);
    if (text !== undefined) e.textContent = text;
    return e;
  }

  function send(message) {
    if (socket && socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify(message));
    else showMessage('Not connected: the edit was not sent');
  }

  function showMessage(text) {
    const box = document.getElementById('messages');
    box.textContent = text;
    box.hidden = false;
    clearTimeout(messageTimer);
    messageTimer = setTimeout(() => { box.hidden = true; }, 4000);
  }

  function slider(label, min, max, onCommit) {
    const input = el('input', { type: 'range', min: String(min), max: String(max), step: '1', 'aria-label': label });
    input.addEventListener('pointerdown', () => { held = input; });
    input.addEventListener('change', () => { held = null; onCommit(Number(input.value)); });
    input.addEventListener('blur', () => { if (held === input) held = null; });
    return input;
  }

  function field(name, input, show) {
    const wrap = el('div', { class: 'field' });
    const value = el('span', { class: 'v' });
    wrap.append(el('span', {}, name), input, value);
    input.addEventListener('input', () => { value.textContent = show(Number(input.value)); });
    return { wrap, value, show };
  }

  function build() {
    const main = document.getElementById('channels');
    main.textContent = '';
    for (let c = 0; c < 2; ++c) {
      const name = CHANNELS[c];
      const section = el('section', { class: 'channel', id: 'channel-' + c, 'aria-label': 'Channel ' + name });
      section.append(el('h2', {}, 'Channel ' + name));
      const canvas = el('canvas', { role: 'img', 'aria-label': name + ' response graph', width: '720', height: '240' });
      canvases[c] = canvas;
      section.append(canvas);

      const resets = el('div', { class: 'resets' });
      for (const kind of ['automatic', 'manual']) {
        const caption = kind === 'automatic' ? 'Reset Notch Automatic' : 'Reset Notch Manual';
        const b = el('button', { type: 'button', 'aria-label': name + ' ' + caption }, caption);
        b.addEventListener('click', () => send({ type: 'reset', channel: c, rows: kind }));
        resets.append(b);
      }

      const box = el('div', { class: 'settings' });
      for (const s of tables.settings) {
        const label = el('label', {}, s.caption);
        const select = el('select', { 'aria-label': name + ' ' + s.caption });
        for (let v = s.min; v <= s.max; ++v) select.append(el('option', { value: String(v) }, s.texts[v - s.min]));
        select.addEventListener('change', () => send({ type: 'setting', channel: c, setting: s.key, value: Number(select.value) }));
        label.append(select);
        box.append(label);
        settings[c][s.key] = select;
      }
      section.append(box, resets);

      for (let r = 0; r < ROWS; ++r) {
        const prefix = name + ' notch ' + (r + 1) + ' ';
        const row = el('div', { class: 'row' });
        const head = el('div', { class: 'rowhead' });
        const badge = el('span', { class: 'badge' }, 'auto');
        head.append(el('span', { class: 'n' }, 'Notch ' + (r + 1)), badge);
        const freq = slider(prefix + 'frequency', 0, tables.frequencies.length - 1,
          v => send({ type: 'notch', channel: c, row: r, field: 'frequency', value: v }));
        const gain = slider(prefix + 'gain', -45, 0, v => send({ type: 'notch', channel: c, row: r, field: 'gain', value: v }));
        const width = slider(prefix + 'width', 0, tables.widths.length - 1,
          v => send({ type: 'notch', channel: c, row: r, field: 'width', value: v }));
        const f = field('Freq', freq, v => tables.frequencyTexts[v]);
        const g = field('Gain', gain, v => v + ' dB');
        const w = field('Q', width, v => tables.widths[v]);
        row.append(head, f.wrap, g.wrap, w.wrap);
        section.append(row);
        rows[c][r] = { row, badge, freq, gain, width, f, g, w };
      }
      main.append(section);
    }
  }

  function setValue(input, shown, value) {
    if (input === held) return;
    input.value = String(value);
    shown.value.textContent = shown.show(value);
  }

  function render() {
    if (!tables || !state) return;
    const status = document.getElementById('status');
    status.textContent = state.status || (state.online ? 'Connected' : 'Offline');
    status.className = state.demo ? 'demo' : state.online ? 'online' : 'offline';
    const searching = state.search >= 0;
    for (const b of document.querySelectorAll('button.search')) {
      const k = Number(b.dataset.selector);
      b.setAttribute('aria-pressed', String(state.search === k));
      b.disabled = searching && state.search !== k;
    }
    const link = document.getElementById('link');
    link.checked = state.linked;
    link.disabled = searching;
    for (let c = 0; c < 2; ++c) {
      const ch = state.channels[c];
      for (const s of tables.settings) {
        const select = settings[c][s.key];
        select.value = String(ch.settings[s.key]);
        select.disabled = searching;
      }
      for (const b of document.querySelectorAll('#channel-' + c + ' .resets button')) b.disabled = searching;
      for (let r = 0; r < ROWS; ++r) {
        const data = ch.rows[r];
        const ui = rows[c][r];
        setValue(ui.freq, ui.f, data.frequency);
        setValue(ui.gain, ui.g, data.gain);
        setValue(ui.width, ui.w, data.width);
        ui.badge.hidden = !data.automatic;
        ui.row.classList.toggle('automatic', data.automatic);
        const readOnly = data.automatic || searching;
        ui.freq.disabled = readOnly;
        ui.gain.disabled = readOnly;
        ui.width.disabled = readOnly;
      }
      draw(c);
    }
  }

  // The channel's response as the editor draws it: each notch takes its
  // gain at its frequency and half of it where Q * |f0/f - f/f0| = 1.
  function draw(c) {
    const canvas = canvases[c];
    const g = canvas.getContext('2d');
    const w = canvas.width, h = canvas.height;
    g.fillStyle = '#0a0c0f';
    g.fillRect(0, 0, w, h);
    const lo = Math.log10(20), hi = Math.log10(20000), floor = -48;
    g.strokeStyle = '#2c313a';
    g.lineWidth = 1;
    for (const f of [100, 1000, 10000]) {
      const x = (Math.log10(f) - lo) / (hi - lo) * w;
      g.beginPath(); g.moveTo(x, 0); g.lineTo(x, h); g.stroke();
    }
    for (let db = -12; db > floor; db -= 12) {
      const y = db / floor * h;
      g.beginPath(); g.moveTo(0, y); g.lineTo(w, y); g.stroke();
    }
    const notches = state.channels[c].rows.map(r => ({ f0: tables.frequencies[r.frequency], gain: r.gain, q: tables.q[r.width] }));
    g.strokeStyle = '#5fb3ff';
    g.lineWidth = 3;
    g.beginPath();
    for (let x = 0; x <= w; x += 2) {
      const f = Math.pow(10, lo + (hi - lo) * x / w);
      let sum = 0;
      for (const n of notches) {
        const d = n.f0 / f - f / n.f0;
        sum += n.gain / (n.q * n.q * d * d + 1);
      }
      const y = Math.min(h, Math.max(0, sum / floor * h));
      if (x === 0) g.moveTo(x, y); else g.lineTo(x, y);
    }
    g.stroke();
  }

  function ask(message) {
    const dialog = document.getElementById('ask');
    document.getElementById('ask-title').textContent = message.title;
    document.getElementById('ask-text').textContent = message.text.replace(/\r/g, '').trim();
    dialog.onclose = () => send({ type: 'answer', id: message.id, yes: dialog.returnValue === 'yes' });
    dialog.returnValue = '';
    dialog.showModal();
  }

  function connect() {
    clearTimeout(retry);
    const scheme = location.protocol === 'https:' ? 'wss://' : 'ws://';
    socket = new WebSocket(scheme + location.host + '/socket?token=' + encodeURIComponent(token));
    socket.onmessage = event => {
      let message;
      try { message = JSON.parse(event.data); } catch (e) { return; }
      if (message.type === 'tables') { tables = message; build(); render(); }
      else if (message.type === 'state') { state = message; render(); document.body.dataset.states = JSON.stringify(message); }
      else if (message.type === 'error') showMessage(message.text);
      else if (message.type === 'ask') ask(message);
    };
    socket.onclose = () => {
      const status = document.getElementById('status');
      status.textContent = 'Offline: the editor cannot be reached. Trying again…';
      status.className = 'offline';
      retry = setTimeout(connect, 2000);
    };
  }

  for (const b of document.querySelectorAll('button.search'))
    b.addEventListener('click', () => send({ type: 'search', selector: Number(b.dataset.selector), on: b.getAttribute('aria-pressed') !== 'true' }));
  document.getElementById('link').addEventListener('change', e => {
    const on = e.target.checked;
    e.target.checked = !on;  // the state that comes back decides
    send({ type: 'link', on });
  });
  connect();
})();
