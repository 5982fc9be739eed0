// The remote page: shows the state the program sends and sends what the
// controls ask for, the same requests the editor's own controls make.
'use strict';
(function () {
  const { el, valueSlider, stepButton } = window.QrnControls;
  const token = document.body.dataset.token;
  const CHANNELS = ['Left', 'Right'];
  const ROWS = 12;
  const FOUND_KEPT = 500;
  let tables = null;
  let state = null;
  let socket = null;
  let retry = null;
  let messageTimer = null;
  let locked = false;
  const rows = [[], []];        // per channel, per row: its controls
  const settings = [{}, {}];    // per channel, by key: its select
  const graphs = [];
  // What this page found so far: kept across a reload of the page (a phone
  // reloads a tab it put to sleep), for this token only.
  let found = { lastId: 0, entries: [] };

  const remembered = {
    get(key, fallback) {
      try { return JSON.parse(sessionStorage.getItem(key + ':' + token)) ?? fallback; } catch (e) { return fallback; }
    },
    set(key, value) {
      try { sessionStorage.setItem(key + ':' + token, JSON.stringify(value)); } catch (e) { /* private mode */ }
    },
  };

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

  // One notch parameter: its name, the slider between a step down and a
  // step up, and its value as the editor writes it.
  function field(prefix, caption, stepName, options) {
    const wrap = el('div', { class: 'field' });
    const shown = el('span', { class: 'v' });
    const slider = valueSlider(Object.assign({
      label: prefix + options.name,
      shown: v => { shown.textContent = options.text(v); },
      settled: render,
    }, options));
    const down = stepButton(prefix + stepName + ' down', '\u2212', () => slider.step(-1));
    const up = stepButton(prefix + stepName + ' up', '+', () => slider.step(+1));
    wrap.append(el('span', { class: 'name' }, caption), down, slider.element, up, shown);
    return { wrap, slider, steps: [down, up] };
  }

  function showRow(c, r) {
    const row = rows[c][r].row;
    row.scrollIntoView({ block: 'center', behavior: 'smooth' });
    row.classList.remove('flash');
    void row.offsetWidth;  // the flash runs again on a second press
    row.classList.add('flash');
  }

  function build() {
    const main = document.getElementById('channels');
    main.textContent = '';
    for (let c = 0; c < 2; ++c) {
      const name = CHANNELS[c];
      const section = el('section', { class: 'channel', id: 'channel-' + c, 'aria-label': 'Channel ' + name });
      section.append(el('h2', {}, 'Channel ' + name));
      graphs[c] = window.QrnGraph.responseGraph(c, name, r => showRow(c, r));
      section.append(graphs[c].element);

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
        const row = el('div', { class: 'row', id: 'row-' + c + '-' + r });
        const head = el('div', { class: 'rowhead' });
        const badge = el('span', { class: 'badge' }, 'auto');
        head.append(el('span', { class: 'n' }, 'Notch ' + (r + 1)), badge);
        const notch = (which, value) => send({ type: 'notch', channel: c, row: r, field: which, value });
        const f = field(prefix, 'Freq', 'frequency', { name: 'frequency', min: 0, max: tables.frequencies.length - 1,
          text: v => tables.frequencyTexts[v], send: v => notch('frequency', v) });
        const g = field(prefix, 'Gain', 'gain', { name: 'gain', min: -45, max: 0, text: v => v + ' dB',
          send: v => notch('gain', v) });
        // Q rises to the right, as "Q up" does: the narrowest width (code 0) sits at the right end.
        const w = field(prefix, 'Q', 'Q', { name: 'width', min: 0, max: tables.widths.length - 1, reversed: true,
          text: v => tables.widths[v] + ' oct', spoken: v => tables.widths[v] + ' octave',
          send: v => notch('width', v) });
        row.append(head, f.wrap, g.wrap, w.wrap);
        section.append(row);
        rows[c][r] = { row, badge, fields: [['frequency', f], ['gain', g], ['width', w]] };
      }
      main.append(section);
    }
  }

  function render() {
    if (!tables || !state) return;
    const status = document.getElementById('status');
    status.textContent = state.status || (state.online ? 'Connected' : 'Offline');
    status.className = state.demo ? 'demo' : state.online ? 'online' : 'offline';
    const searching = state.search >= 0;
    for (const b of document.querySelectorAll('button.search')) {
      const k = Number(b.dataset.selector);
      const on = state.search === k;
      b.setAttribute('aria-pressed', String(on));
      b.querySelector('small').textContent = on ? 'Searching' : 'Off';
      b.disabled = searching && !on;
    }
    const frozen = searching || locked;
    const link = document.getElementById('link');
    link.checked = state.linked;
    link.disabled = frozen;
    document.getElementById('found-clear').disabled = locked;
    for (let c = 0; c < 2; ++c) {
      const ch = state.channels[c];
      for (const s of tables.settings) {
        const select = settings[c][s.key];
        select.value = String(ch.settings[s.key]);
        select.disabled = frozen;
      }
      for (const b of document.querySelectorAll('#channel-' + c + ' .resets button')) b.disabled = frozen;
      for (let r = 0; r < ROWS; ++r) {
        const data = ch.rows[r];
        const ui = rows[c][r];
        ui.badge.hidden = !data.automatic;
        ui.row.classList.toggle('automatic', data.automatic);
        const off = data.automatic || frozen;
        for (const [key, part] of ui.fields) {
          part.slider.setDisabled(off);
          part.slider.set(data[key]);
          for (const b of part.steps) b.disabled = off;
        }
      }
      graphs[c].update(ch.rows, tables);
    }
    takeFound(state.found || []);
    showHeld();
  }

  // A question the program waits on (whose settings to keep), asked on
  // every page and on the program's own screen: open while the state holds
  // it, closed once anyone has answered it.
  let answeredHeld = 0;
  function showHeld() {
    const dialog = document.getElementById('held');
    const q = state.question;
    if (!q || q.id === answeredHeld) {
      if (dialog.open) dialog.close();
      return;
    }
    if (dialog.open && Number(dialog.dataset.id) === q.id) return;
    dialog.dataset.id = String(q.id);
    document.getElementById('held-title').textContent = q.title;
    document.getElementById('held-text').textContent = q.text.replace(/\r/g, '').trim();
    document.getElementById('held-yes').textContent = q.yes;
    document.getElementById('held-no').textContent = q.no;
    if (!dialog.open) dialog.showModal();
  }

  function answerHeld(yes) {
    const dialog = document.getElementById('held');
    answeredHeld = Number(dialog.dataset.id);
    send({ type: 'answer', id: answeredHeld, yes });
    dialog.close();
  }

  // Entries come newest first with every state, the same ones again and
  // again: each is added once, by its number.
  function takeFound(list) {
    const fresh = list.filter(e => e.id > found.lastId).sort((a, b) => a.id - b.id);
    if (!fresh.length) return;
    for (const e of fresh) found.entries.unshift({ id: e.id, text: e.text });
    found.lastId = fresh[fresh.length - 1].id;
    found.entries.length = Math.min(found.entries.length, FOUND_KEPT);
    remembered.set('found', found);
    showFound();
  }

  function showFound() {
    const list = document.getElementById('found-list');
    list.textContent = '';
    for (const e of found.entries) list.append(el('li', {}, e.text));
    document.getElementById('found-none').hidden = found.entries.length > 0;
  }

  function showChannel(c) {
    document.body.dataset.channel = String(c);
    for (const b of document.querySelectorAll('#switch button'))
      b.setAttribute('aria-pressed', String(Number(b.dataset.channel) === c));
    remembered.set('channel', c);
    render();  // a graph hidden until now is drawn at its size
  }

  function setLocked(on) {
    locked = on;
    document.body.classList.toggle('locked', on);
    const lock = document.getElementById('lock');
    lock.setAttribute('aria-pressed', String(on));
    lock.textContent = on ? 'Locked' : 'Lock';
    remembered.set('locked', on);
    render();
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
      else if (message.type === 'error') {
        showMessage(message.text);
        // Refused: the controls show what the program has, not what was asked.
        for (const channel of rows) for (const row of channel) for (const [, part] of row.fields) part.slider.release();
        render();
      } else if (message.type === 'ask') ask(message);
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
  for (const b of document.querySelectorAll('#switch button'))
    b.addEventListener('click', () => showChannel(Number(b.dataset.channel)));
  document.getElementById('lock').addEventListener('click', () => setLocked(!locked));
  document.getElementById('found-clear').addEventListener('click', () => {
    if (locked) return;
    found.entries = [];
    remembered.set('found', found);
    showFound();
  });
  window.addEventListener('resize', render);
  document.getElementById('held-yes').addEventListener('click', () => answerHeld(true));
  document.getElementById('held-no').addEventListener('click', () => answerHeld(false));
  // Each button says what it does; Escape is not a third answer.
  document.getElementById('held').addEventListener('cancel', e => e.preventDefault());

  const kept = remembered.get('found', found);
  if (Number.isInteger(kept.lastId) && Array.isArray(kept.entries)) found = kept;
  showFound();
  showChannel(remembered.get('channel', 0) === 1 ? 1 : 0);
  setLocked(remembered.get('locked', false) === true);
  connect();
})();
