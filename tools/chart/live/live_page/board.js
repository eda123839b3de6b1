// The live view's page of a board: every chart of the run in a grid, each
// with its picture, its levels table (distance from the last price in
// points and ticks), its ages and warnings, a failed chart marked failed
// with its reason; beside them one list of the alerts of every chart, the
// newest first. A chart clicked opens large (#NAME in the address, so the
// browser's back button, the button above or Escape returns to the grid).
// Told of every change by the server's events, it fetches /status.json
// (every chart at once) and loads each changed chart's picture, at the
// size it is shown in device pixels, out of sight before swapping it in.
// After the events failed three times in a row it asks once a second.
// Uses live_common.js, loaded before this.
'use strict';

const kMostAlertsListed = 50;

// What the page has done and shows so far, for a person's console or a
// test: as the single chart's page's window.liveView, with `charts` by
// name: {changesShown, pictures, size} of each picture shown.
window.liveBoard = {
  polls: 0, failedPolls: 0, fetches: 0, events: 0, pushed: true, reachable: null, status: null, large: '', charts: {},
};

// The chart's card and what is loading into it, by name.
const cards = new Map();

function cardPart(card, name) { return card.element.querySelector('.card-' + name); }

function newCard(name) {
  const element = byId('chart-card').content.firstElementChild.cloneNode(true);
  element.dataset.chart = name;
  element.classList.add('no-picture');
  element.querySelector('.card-title').textContent = name;
  const card = { name, element, loading: false, wanted: null, changesShown: null, sizeShown: '' };
  element.addEventListener('click', () => {
    if (window.liveBoard.large !== name) location.hash = '#' + encodeURIComponent(name);
  });
  new ResizeObserver(() => {
    clearTimeout(card.resizeTimer);
    card.resizeTimer = setTimeout(() => {
      if (card.changesShown !== null && pictureSizeOf(cardPart(card, 'picture')) !== card.sizeShown)
        loadCardPicture(card, card.changesShown);
    }, kResizeSettleMs);
  }).observe(cardPart(card, 'picture'));
  window.liveBoard.charts[name] = { changesShown: null, pictures: 0, size: '' };
  return card;
}

// The chart's picture at the size its frame shows it; one at a time, the
// latest change asked meanwhile loaded once this one has.
function loadCardPicture(card, changes) {
  if (card.loading) {
    card.wanted = changes;
    return;
  }
  card.loading = true;
  card.wanted = null;
  const size = pictureSizeOf(cardPart(card, 'picture'));
  const [width, height] = size.split('x');
  const next = new Image();
  next.className = 'card-image';
  next.alt = cardPart(card, 'image').alt;
  const done = () => {
    card.loading = false;
    if (card.wanted !== null && card.wanted !== card.changesShown) loadCardPicture(card, card.wanted);
    else if (card.changesShown !== null && pictureSizeOf(cardPart(card, 'picture')) !== card.sizeShown)
      loadCardPicture(card, card.changesShown);
  };
  next.onload = () => {
    cardPart(card, 'image').replaceWith(next);
    cardPart(card, 'waiting').hidden = true;
    card.element.classList.remove('no-picture');
    card.changesShown = changes;
    card.sizeShown = size;
    const shown = window.liveBoard.charts[card.name];
    shown.changesShown = changes;
    shown.pictures += 1;
    shown.size = size;
    done();
  };
  next.onerror = done;
  next.src = '/chart/' + encodeURIComponent(card.name) + '.png?w=' + width + '&h=' + height + '&change=' + changes;
}

function showCardAges(card, status) {
  let age = typeof status.ageSeconds === 'number' ? ageText(status.ageSeconds) : 'no levels yet';
  if (status.levelsAgeFrom === 'service') age += ' (service\'s time)';
  cardPart(card, 'age').textContent = age;
  let priceAge = '\u2013';
  if (typeof status.priceAgeSeconds === 'number') priceAge = ageText(status.priceAgeSeconds);
  else if (isText(status.priceAge)) priceAge = status.priceAge;
  cardPart(card, 'price-age').textContent = priceAge;
  cardPart(card, 'last-price').textContent = typeof status.lastPrice === 'number' ? String(status.lastPrice) : '\u2013';
  cardPart(card, 'now').textContent = isText(status.now) ? status.now : '\u2013';
}

function showCard(card, status) {
  const failed = isText(status.failed);
  card.element.classList.toggle('failed', failed);
  showOrHideElement(cardPart(card, 'failed'), failed ? 'FAILED' : '');
  showOrHideElement(cardPart(card, 'failed-reason'), failed ? status.failed : '');
  if (isText(status.title)) cardPart(card, 'title').textContent = card.name + ' \u00b7 ' + status.title;
  const warning = isText(status.warning) ? status.warning : (status.stale === true ? 'STALE' : '');
  showOrHideElement(cardPart(card, 'warning'), warning);
  showOrHideElement(cardPart(card, 'stale-reason'), warning && isText(status.staleReason) ? status.staleReason : '');
  const priceStale = status.priceStale === true || isText(status.priceWarning);
  showOrHideElement(cardPart(card, 'price-warning'),
                    priceStale ? (isText(status.priceWarning) ? status.priceWarning : 'PRICE STALE') : '');
  showCardAges(card, status);
  cardPart(card, 'notices').replaceChildren(
      ...listItems([status.notice, status.barsWarning, status.levelsWarning, status.lastError]));
  const levels = cardPart(card, 'levels');
  levels.tBodies[0].replaceChildren(...levelRows(status));
  levels.classList.toggle('muted', warning !== '' || failed);
  if (typeof status.changes === 'number' && status.changes > 0 && status.changes !== card.changesShown)
    loadCardPicture(card, status.changes);
}

// Every chart's alerts in one list, the newest first: by time, and among
// alerts of one time in the order each chart listed them.
function showAlerts(charts) {
  const all = [];
  for (const status of charts) {
    if (!Array.isArray(status.alertList)) continue;
    status.alertList.forEach((alert, order) => {
      if (alert !== null && typeof alert === 'object') all.push({ alert, order, status });
    });
  }
  const timeOfAlert = (entry) => (isText(entry.alert.time) ? entry.alert.time : '');
  all.sort((a, b) => timeOfAlert(b).localeCompare(timeOfAlert(a)) || b.order - a.order);
  const items = all.slice(0, kMostAlertsListed)
      .map((entry) => alertItem(entry.alert, entry.status.now, entry.status.name)).filter((item) => item);
  byId('alerts').replaceChildren(...items);
  byId('no-alerts').hidden = items.length > 0;
}

function showBoard(board) {
  const charts = Array.isArray(board.charts) ? board.charts.filter((chart) =>
    chart !== null && typeof chart === 'object' && isText(chart.name)) : [];
  for (const status of charts) {
    if (!cards.has(status.name)) {
      const card = newCard(status.name);
      cards.set(status.name, card);
      byId('board').appendChild(card.element);
    }
    showCard(cards.get(status.name), status);
  }
  showAlerts(charts);
  window.liveBoard.status = board;
  showLarge();
}

// The chart named in the address shown large, the others hidden; the grid
// when none is.
function showLarge() {
  let large = '';
  try {
    large = decodeURIComponent(location.hash.slice(1));
  } catch (failure) {
    // Not a name the page wrote: the grid.
  }
  if (!cards.has(large)) large = '';
  window.liveBoard.large = large;
  byId('board').classList.toggle('one-large', large !== '');
  for (const card of cards.values()) {
    card.element.classList.toggle('large', card.name === large);
    card.element.hidden = large !== '' && card.name !== large;
  }
  byId('back').hidden = large === '';
}

function showReachable(reachable) {
  window.liveBoard.reachable = reachable;
  byId('connection').hidden = reachable;
  document.querySelector('main').classList.toggle('muted', !reachable);
}

async function look() {
  const board = await fetchStatus();
  window.liveBoard.fetches += 1;
  showBoard(board);
  showReachable(true);
}

window.addEventListener('hashchange', showLarge);
byId('back').addEventListener('click', () => { location.hash = ''; });
document.addEventListener('keydown', (key) => {
  if (key.key === 'Escape' && window.liveBoard.large !== '') location.hash = '';
});

keepUpToDate(look, showReachable, window.liveBoard);
