// What the live view's two pages share: the single chart's page (live.js)
// and the board's (board.js). Writing text, never markup; the levels table
// with each level's distance from the last price in points and ticks; an
// alert as a list item; the size a picture is asked for; fetching the
// status; and learning of every change from the server's events, with
// polling once a second after the events have failed three times in a row.
// Every member of a status may be missing (an older program leaves the
// newer ones out), so each is checked for its type before it is shown.
'use strict';

const kPollMs = 1000;
const kPollWhenUnreachableMs = 5000;
// A run that takes this long to answer counts as not reachable: a request
// left hanging must not keep the page looking live.
const kAnswerTimeoutMs = 4000;
// Failed event connections in a row, each without an event between, before
// the page asks once a second instead.
const kEventFailuresBeforePolling = 3;
// A connection the server refused (too many streams open) is tried again after this.
const kEventRetryMs = 2000;

function byId(id) { return document.getElementById(id); }

function setText(id, text) { byId(id).textContent = text; }

function isText(value) { return typeof value === 'string' && value !== ''; }

// Shows `text` in the element, or hides it when there is none.
function showOrHideElement(element, text) {
  element.hidden = !isText(text);
  element.textContent = isText(text) ? text : '';
}

function showOrHide(id, text) { showOrHideElement(byId(id), text); }

// "2026-03-02 10:20:00" -> "10:20:00" on the day of `now` (the status's
// clock); on another day, or in another form, the text as it is.
function timeOf(dateTime, now) {
  const match = /^(\d{4}-\d{2}-\d{2}) (\d{2}:\d{2}:\d{2})$/.exec(dateTime);
  const today = isText(now) ? now.slice(0, 10) : '';
  return match && match[1] === today ? match[2] : dateTime;
}

function decimalsOf(tickSize) {
  const text = String(tickSize);
  const dot = text.indexOf('.');
  return dot < 0 ? 0 : Math.min(text.length - dot - 1, 8);
}

function signed(value, decimals) {
  const text = Math.abs(value).toFixed(decimals);
  return (value > 0 ? '+' : value < 0 ? '\u2212' : '') + text;
}

function ageText(seconds) {
  seconds = Math.round(seconds);
  if (seconds < 90) return seconds + ' s';
  if (seconds < 90 * 60) return Math.round(seconds / 60) + ' min';
  return Math.round(seconds / 3600) + ' h';
}

// The rows of a levels table: name, price, and the distance from the last
// price in points and in ticks, coloured above or below it.
function levelRows(status) {
  const rows = [];
  const hasPrice = typeof status.lastPrice === 'number' && typeof status.tickSize === 'number' && status.tickSize > 0;
  const decimals = hasPrice ? decimalsOf(status.tickSize) : 2;
  const levels = Array.isArray(status.levels) ? status.levels : [];
  for (const level of levels) {
    if (level === null || typeof level !== 'object') continue;
    const row = document.createElement('tr');
    const hasLevelPrice = typeof level.price === 'number';
    const cells = [String(level.name ?? ''), hasLevelPrice ? String(level.price) : '\u2013', '', ''];
    if (hasPrice && hasLevelPrice) {
      const points = level.price - status.lastPrice;
      cells[2] = signed(points, decimals);
      cells[3] = signed(Math.round(points / status.tickSize), 0);
      row.className = points > 0 ? 'above' : points < 0 ? 'below' : '';
    }
    for (const text of cells) {
      const cell = document.createElement('td');
      cell.textContent = text;
      row.appendChild(cell);
    }
    rows.push(row);
  }
  return rows;
}

function listItems(texts) {
  return texts.filter(isText).map((text) => {
    const item = document.createElement('li');
    item.textContent = text;
    return item;
  });
}

// One alert of a status's alertList: its time, the chart's name on a board,
// then its text.
function alertItem(alert, now, chart) {
  if (alert === null || typeof alert !== 'object' || !isText(alert.text)) return null;
  const item = document.createElement('li');
  if (isText(alert.time)) {
    const time = document.createElement('time');
    time.className = 'alert-time';
    time.dateTime = alert.time;
    time.textContent = timeOf(alert.time, now);
    item.append(time, ' ');
  }
  if (isText(chart)) {
    const name = document.createElement('b');
    name.className = 'alert-chart';
    name.textContent = chart;
    item.append(name, ' ');
  }
  if (alert.kind === 'cross' || alert.kind === 'near') item.classList.add(alert.kind);
  if (alert.direction === 'up' || alert.direction === 'down') item.classList.add(alert.direction);
  item.append(alert.text);
  return item;
}

// The picture is asked for at the size it is shown, in device pixels, so
// its text reads at its own size whatever the window: rounded to 16 pixels
// (a window moved by a pixel asks for no new picture) and kept within what
// the program draws. "WxH".
const kPictureStepPx = 16;
const kPictureSmallest = [320, 240];
const kPictureLargest = [3840, 2160];
// A window being resized settles before a picture of its new size is asked for.
const kResizeSettleMs = 300;

function pictureSizeOf(frame) {
  const ratio = window.devicePixelRatio || 1;
  const side = (css, index) => {
    const rounded = Math.round((css * ratio) / kPictureStepPx) * kPictureStepPx;
    return Math.min(kPictureLargest[index], Math.max(kPictureSmallest[index], rounded));
  };
  return side(frame.clientWidth, 0) + 'x' + side(frame.clientHeight, 1);
}

// /status.json as an object; throws when the run does not answer in time or
// answers something else.
async function fetchStatus() {
  const abort = new AbortController();
  const timer = setTimeout(() => abort.abort(), kAnswerTimeoutMs);
  try {
    const answer = await fetch('/status.json', { cache: 'no-store', signal: abort.signal });
    if (!answer.ok) throw new Error('status ' + answer.status);
    const status = await answer.json();
    if (status === null || typeof status !== 'object' || Array.isArray(status)) throw new Error('not a status');
    return status;
  } finally {
    clearTimeout(timer);
  }
}

// Learns of every change from the server's events (/events): `onChange`
// gets each event's object ({chart, index, publications, pictures,
// pictureChanged, failed}), `onFailure` each failed connection (the pages
// look once then, so a refused stream never leaves them empty, and a run
// that ended is shown as such at once). After
// kEventFailuresBeforePolling failures in a row `onFallback` is called once
// and the events are given up for good: the page polls instead.
function watchChanges(onChange, onFailure, onFallback) {
  let failures = 0;
  const connect = () => {
    const source = new EventSource('/events');
    source.onmessage = (message) => {
      failures = 0;
      let change = null;
      try { change = JSON.parse(message.data); } catch (failure) { return; }
      if (change !== null && typeof change === 'object') onChange(change);
    };
    source.onerror = () => {
      failures += 1;
      onFailure(failures);
      if (failures >= kEventFailuresBeforePolling) {
        source.close();
        onFallback();
      } else if (source.readyState === EventSource.CLOSED) {
        // Refused (not an event stream): the browser does not try again itself.
        setTimeout(connect, kEventRetryMs);
      }
    };
  };
  connect();
}

// Runs `task` (an async function) now, or once more after the run under way
// when asked meanwhile: however many changes come, one look at a time, and
// none missed.
function oneAtATime(task) {
  let running = false;
  let again = false;
  return async function run() {
    if (running) {
      again = true;
      return;
    }
    running = true;
    try {
      do {
        again = false;
        await task();
      } while (again);
    } finally {
      running = false;
    }
  };
}

// Keeps the page up to date with `look` (an async function that throws when
// the run does not answer) and `showReachable`: one look on every change the
// events tell of, and on each failed event connection; polling once a second
// (every 5 s while the run cannot be reached) once the events are given up.
// `counts` keeps what the page did: events, polls, failedPolls, pushed.
function keepUpToDate(look, showReachable, counts) {
  const lookOnce = oneAtATime(async () => {
    try {
      await look();
    } catch (failure) {
      showReachable(false);
    }
  });
  const poll = async () => {
    let wait = kPollMs;
    try {
      await look();
      counts.polls += 1;
    } catch (failure) {
      counts.failedPolls += 1;
      showReachable(false);
      wait = kPollWhenUnreachableMs;
    }
    setTimeout(poll, wait);
  };
  watchChanges(() => {
    counts.events += 1;
    lookOnce();
  }, () => lookOnce(), () => {
    counts.pushed = false;
    poll();
  });
}
