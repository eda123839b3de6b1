// The live view's page: asks for /status.json once a second, shows what it
// says beside the chart, and when the chart has changed loads the new
// picture out of sight and swaps it in once it has loaded, so the chart
// never flickers or goes blank. Everything is written as text, never as
// markup: level names and alerts are typed by people.
'use strict';

const kPollMs = 1000;
const kPollWhenUnreachableMs = 5000;

// What the page has done so far, for a person's console or a test.
window.liveView = { polls: 0, pictures: 0, changesShown: null };

let loadingPicture = false;

function byId(id) { return document.getElementById(id); }

function setText(id, text) { byId(id).textContent = text; }

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
  if (seconds < 90) return seconds + ' s';
  if (seconds < 90 * 60) return Math.round(seconds / 60) + ' min';
  return Math.round(seconds / 3600) + ' h';
}

function showLevels(status) {
  const body = byId('levels').tBodies[0];
  const rows = [];
  const hasPrice = typeof status.lastPrice === 'number' && typeof status.tickSize === 'number' && status.tickSize > 0;
  const decimals = hasPrice ? decimalsOf(status.tickSize) : 2;
  for (const level of status.levels || []) {
    const row = document.createElement('tr');
    const cells = [level.name, level.price === null ? '\u2013' : String(level.price), '', ''];
    if (hasPrice && typeof level.price === 'number') {
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
  body.replaceChildren(...rows);
}

function showAlerts(status) {
  const alerts = (status.alerts || []).slice().reverse();
  const items = alerts.map((text) => {
    const item = document.createElement('li');
    item.textContent = text;
    return item;
  });
  byId('alerts').replaceChildren(...items);
  byId('no-alerts').hidden = items.length > 0;
}

function showStatus(status) {
  if (status.title) setText('ticker', status.title);
  const warning = byId('warning');
  warning.hidden = !status.warning;
  warning.textContent = status.warning || '';
  setText('age', typeof status.ageSeconds === 'number' ? ageText(status.ageSeconds) : 'no levels yet');
  setText('last-good', status.lastGoodAnswer || 'none yet');
  setText('last-price', typeof status.lastPrice === 'number' ? String(status.lastPrice) : '\u2013');
  setText('now', status.now || '\u2013');
  setText('changes', typeof status.changes === 'number' ? String(status.changes) : '\u2013');
  const notice = byId('notice');
  notice.hidden = !status.notice;
  notice.textContent = status.notice || '';
  showLevels(status);
  showAlerts(status);
}

// The new picture loads in an image of its own; it replaces the one shown
// only once it has loaded. One at a time: a change that comes meanwhile is
// taken up by the next poll.
function loadPicture(changes) {
  if (loadingPicture) return;
  loadingPicture = true;
  const next = new Image();
  next.id = 'chart';
  next.alt = byId('chart').alt;
  next.onload = () => {
    byId('chart').replaceWith(next);
    byId('waiting').hidden = true;
    window.liveView.changesShown = changes;
    window.liveView.pictures += 1;
    loadingPicture = false;
  };
  next.onerror = () => { loadingPicture = false; };
  next.src = '/chart.png?change=' + changes;
}

async function poll() {
  let wait = kPollMs;
  try {
    const answer = await fetch('/status.json', { cache: 'no-store' });
    if (!answer.ok) throw new Error('status ' + answer.status);
    const status = await answer.json();
    window.liveView.polls += 1;
    byId('connection').hidden = true;
    showStatus(status);
    if (typeof status.changes === 'number' && status.changes > 0 && status.changes !== window.liveView.changesShown)
      loadPicture(status.changes);
  } catch (failure) {
    byId('connection').hidden = false;
    wait = kPollWhenUnreachableMs;
  }
  setTimeout(poll, wait);
}

poll();
