// A channel's response as the editor draws it, over 20 Hz..20 kHz and
// +10..-50 dB, with its axes and a numbered marker above each notch that
// cuts (the editor's style: a disc in the curve's colour). A marker is a
// button: it brings its notch's row into view.
'use strict';
window.QrnGraph = (function () {
  const { el } = window.QrnControls;
  const LO = Math.log10(20), HI = Math.log10(20000);
  const TOP_DB = 10, BOTTOM_DB = -50;
  const LABELS_RIGHT = 36, LABELS_BELOW = 16;  // px kept for the axes' labels
  const MARKER = 26;                           // px, a marker's width at most
  // The editor's curve colours on a dark field.
  const CURVE = ['rgb(255, 110, 110)', 'rgb(120, 170, 255)'];
  const FIELD = '#0a0c0f';

  const xOf = (hz, w) => (Math.log10(hz) - LO) / (HI - LO) * w;
  const yOf = (db, h) => (TOP_DB - db) / (TOP_DB - BOTTOM_DB) * h;

  // Markers that would overlap are moved apart, first to the right as the
  // editor does, then back from the right end so that all stay in view.
  function spread(xs, width) {
    const size = Math.min(MARKER, width / Math.max(1, xs.length));
    const at = xs.map(x => Math.min(width - size / 2, Math.max(size / 2, x)));
    for (let i = 1; i < at.length; ++i) at[i] = Math.max(at[i], at[i - 1] + size);
    for (let i = at.length - 1; i >= 0; --i) {
      const limit = i === at.length - 1 ? width - size / 2 : at[i + 1] - size;
      at[i] = Math.min(at[i], limit);
    }
    return { at, size };
  }

  function grid(g, w, h) {
    g.lineWidth = 1;
    for (let decade = 10; decade <= 10000; decade *= 10) {
      for (let k = 1; k <= 9; ++k) {
        const hz = decade * k;
        if (hz < 20 || hz > 20000) continue;
        const x = Math.round(xOf(hz, w)) + 0.5;
        g.strokeStyle = k === 1 ? '#3a4250' : '#1c2129';
        g.beginPath(); g.moveTo(x, 0); g.lineTo(x, h); g.stroke();
      }
    }
    for (let db = TOP_DB; db >= BOTTOM_DB; db -= 10) {
      const y = Math.round(yOf(db, h)) + 0.5;
      g.strokeStyle = db === 0 ? '#4a5363' : '#1c2129';
      g.beginPath(); g.moveTo(0, y); g.lineTo(w, y); g.stroke();
    }
  }

  function labels(g, w, h) {
    g.fillStyle = '#9aa3ad';
    g.font = '11px system-ui, "DejaVu Sans", sans-serif';
    g.textBaseline = 'top';
    g.textAlign = 'center';
    for (const [hz, text] of [[100, '100 Hz'], [1000, '1 kHz'], [10000, '10 kHz']]) g.fillText(text, xOf(hz, w), h + 3);
    g.textAlign = 'left';
    g.textBaseline = 'middle';
    for (let db = TOP_DB; db >= BOTTOM_DB; db -= 10) {
      const text = db > 0 ? '+' + db : db === 0 ? '0 dB' : '\u2212' + -db;
      const y = Math.min(h - 6, Math.max(6, yOf(db, h)));
      g.fillText(text, w + 4, y);
    }
  }

  // name: "Left"; onMarker(row) when a marker is pressed.
  function responseGraph(channel, name, onMarker) {
    const wrap = el('div', { class: 'graph' });
    const strip = el('div', { class: 'markers' });
    const canvas = el('canvas', { role: 'img', 'aria-label': name + ' response graph' });
    wrap.append(strip, canvas);
    strip.style.setProperty('--labels', LABELS_RIGHT + 'px');
    const markers = new Map();  // row -> its button

    // rows: the state's; tables: the frequencies, Q and texts.
    function update(rows, tables) {
      const cssWidth = canvas.clientWidth, cssHeight = canvas.clientHeight;
      if (!cssWidth || !cssHeight) return;  // the channel is not shown
      const ratio = window.devicePixelRatio || 1;
      if (canvas.width !== Math.round(cssWidth * ratio) || canvas.height !== Math.round(cssHeight * ratio)) {
        canvas.width = Math.round(cssWidth * ratio);
        canvas.height = Math.round(cssHeight * ratio);
      }
      const g = canvas.getContext('2d');
      g.setTransform(ratio, 0, 0, ratio, 0, 0);
      const w = cssWidth - LABELS_RIGHT, h = cssHeight - LABELS_BELOW;
      g.fillStyle = FIELD;
      g.fillRect(0, 0, cssWidth, cssHeight);
      g.save();
      g.beginPath(); g.rect(0, 0, w, h); g.clip();
      grid(g, w, h);
      const notches = rows.map(r => ({ f0: tables.frequencies[r.frequency], gain: r.gain, q: tables.q[r.width] }));
      g.strokeStyle = CURVE[channel];
      g.lineWidth = 2;
      g.lineJoin = 'round';
      g.beginPath();
      for (let x = 0; x <= w; x += 1) {
        const f = Math.pow(10, LO + (HI - LO) * x / w);
        let sum = 0;
        for (const n of notches) {
          const d = n.f0 / f - f / n.f0;
          sum += n.gain / (n.q * n.q * d * d + 1);
        }
        const y = Math.min(h + 2, yOf(sum, h));
        if (x === 0) g.moveTo(x, y); else g.lineTo(x, y);
      }
      g.stroke();
      g.restore();
      labels(g, w, h);

      const cutting = rows.map((r, row) => ({ r, row })).filter(n => n.r.gain < 0)
        .sort((a, b) => a.r.frequency - b.r.frequency || a.row - b.row);
      const { at, size } = spread(cutting.map(n => xOf(tables.frequencies[n.r.frequency], w)), w);
      // Kept from one state to the next: a finger on a marker keeps its button.
      const wanted = new Set(cutting.map(n => n.row));
      for (const [row, marker] of markers) if (!wanted.has(row)) { marker.remove(); markers.delete(row); }
      cutting.forEach((n, i) => {
        let marker = markers.get(n.row);
        if (!marker) {
          marker = el('button', { type: 'button', class: 'marker' }, String(n.row + 1));
          marker.style.setProperty('--colour', CURVE[channel]);
          marker.addEventListener('click', () => onMarker(n.row));
          markers.set(n.row, marker);
        }
        marker.setAttribute('aria-label',
          name + ' notch ' + (n.row + 1) + ' at ' + tables.frequencyTexts[n.r.frequency] + ', ' + n.r.gain + ' dB');
        marker.style.setProperty('--x', (at[i] - size / 2) + 'px');
        marker.style.setProperty('--size', size + 'px');
        // In the order of frequency, as they are read out.
        if (strip.children[i] !== marker) strip.insertBefore(marker, strip.children[i] || null);
      });
    }

    return { element: wrap, update };
  }

  return { responseGraph };
})();
