// The gallery page: the templates of catalogue.js as a grid of cards, filtered by words, tags and
// folder, with one template's details in a dialog.
//
// It fetches nothing: the data arrives as scripts (a page opened from a file may not fetch), the
// thumbnails and previews as files beside the page. catalogue.js carries what the cards and the
// search need; catalogue-details.js, loaded once the cards are up, the rest. The cards are made a
// chunk at a time as the list scrolls into view, so a collection of thousands opens at once.
'use strict';

(() => {
  const data = window.capsuleCatalogue || { title: '', total: 0, folders: [], entries: [] };
  const entries = data.entries;
  const CHUNK = 60;
  const MAX_TAG_CHIPS = 14;
  // How far below the visible part the next cards are already made.
  const LOOKAHEAD_PX = 1200;

  const byId = (id) => document.getElementById(id);
  const searchBox = byId('search');
  const folderSelect = byId('folder');
  const tagBox = byId('tags');
  const grid = byId('grid');
  const countText = byId('count');
  const emptyNote = byId('empty');
  const more = byId('more');
  const dialog = byId('detail');

  // ---- Word search: what the catalogue's search index finds ----------------------------------
  // The index splits names, tags and folders into words of letters, digits and private-use
  // characters and folds each character: lower case, and a Latin letter with diacritics becomes its
  // plain ASCII letter (other scripts keep their marks); a combining diacritic inside a word is
  // dropped. catalogue.js carries each template's words folded by the index itself; a word typed
  // here is folded alike below. It may split into several words ("blue-title"), which must all
  // begin words of one and the same value; every word typed must match some value of the template.
  const WORD_CHARACTER = /^[\p{L}\p{N}\p{Co}]$/u;
  const ASCII_LETTER_WITH_DIACRITICS = /^[a-z][\u0300-\u036f]+$/u;
  // The combining marks (from U+0300) that continue a word and are dropped from it, as bits.
  const DIACRITIC_BITS = [0x08029FDF, 0x000361F8];

  function isDiacritic(codePoint) {
    if (codePoint < 0x300 || codePoint > 0x331) return false;
    const offset = codePoint - 0x300;
    return ((DIACRITIC_BITS[offset >> 5] >>> (offset & 31)) & 1) === 1;
  }

  // Character by character, so that no context (a final sigma) changes a letter's lower case.
  function foldLetter(c) {
    const lower = c.toLowerCase();
    const decomposed = lower.normalize('NFD');
    return ASCII_LETTER_WITH_DIACRITICS.test(decomposed) ? decomposed[0] : lower;
  }

  function foldedWords(text) {
    const words = [];
    let word = '';
    for (const c of text) {
      if (WORD_CHARACTER.test(c)) {
        word += foldLetter(c);
      } else if (word && !isDiacritic(c.codePointAt(0))) {
        words.push(word);
        word = '';
      }
    }
    if (word) words.push(word);
    return words;
  }

  // The search box's text as terms, each the folded words of one typed word; null when the box is
  // empty (no search). A typed word without letters or digits ("-") asks for nothing; when no typed
  // word asks for anything, nothing is found, as in the catalogue.
  function searchTerms(text) {
    const typed = text.split(/\s+/u).filter(Boolean);
    if (typed.length === 0) return null;
    return typed.map(foldedWords).filter((words) => words.length > 0);
  }

  function termMatchesValue(term, value) {
    return term.every((word) => value.some((indexed) => indexed.startsWith(word)));
  }

  function matchesTerms(entry, terms) {
    if (terms === null) return true;
    return terms.length > 0 && terms.every((term) => entry.words.some((value) => termMatchesValue(term, value)));
  }

  // ---- Texts -----------------------------------------------------------------------------------
  function secondsText(ms) {
    if (!ms) return '';
    return `${(ms / 1000).toFixed(3).replace(/\.?0+$/u, '')} s`;
  }

  function frameText(entry) {
    return entry.frameWidth > 0 ? `${entry.frameWidth}×${entry.frameHeight}` : '';
  }

  function byteSizeText(bytes) {
    if (bytes < 1024) return `${bytes} B`;
    const units = ['KB', 'MB', 'GB', 'TB'];
    let value = bytes / 1024;
    let unit = 0;
    while (value >= 1024 && unit + 1 < units.length) {
      value /= 1024;
      unit += 1;
    }
    return `${value.toFixed(1)} ${units[unit]}`;
  }

  function element(tag, className, text) {
    const made = document.createElement(tag);
    if (className) made.className = className;
    if (text !== undefined) made.textContent = text;
    return made;
  }

  // ---- Filters ---------------------------------------------------------------------------------
  const state = { terms: null, folder: '', tags: new Set() };
  let shown = [];     // indexes into entries, in catalogue order
  let rendered = 0;   // how many of `shown` have cards

  function inFolder(entry, folder) {
    return folder === '' || entry.folder === folder || entry.folder.startsWith(`${folder}/`);
  }

  function hasTags(entry, tags) {
    for (const tag of tags) if (!entry.tags.includes(tag)) return false;
    return true;
  }

  function applyFilters() {
    shown = [];
    for (let i = 0; i < entries.length; i += 1) {
      const entry = entries[i];
      if (inFolder(entry, state.folder) && hasTags(entry, state.tags) && matchesTerms(entry, state.terms)) {
        shown.push(i);
      }
    }
    const filtered = shown.length !== entries.length;
    const noun = entries.length === 1 ? 'template' : 'templates';
    countText.textContent = filtered ? `${shown.length} of ${entries.length} ${noun}` : `${entries.length} ${noun}`;
    emptyNote.hidden = shown.length > 0;
    grid.replaceChildren();
    rendered = 0;
    renderMore();
  }

  function readFragment() {
    const params = new URLSearchParams(window.location.hash.slice(1));
    searchBox.value = params.get('q') || '';
    state.terms = searchTerms(searchBox.value);
    const folder = params.get('folder') || '';
    state.folder = data.folders.includes(folder) ? folder : '';
    folderSelect.value = state.folder;
    state.tags = new Set(params.getAll('tag'));
    for (const chip of tagBox.children) chip.setAttribute('aria-pressed', String(state.tags.has(chip.dataset.tag)));
  }

  // The filters in the address, so that a search can be shared.
  function writeFragment() {
    const params = new URLSearchParams();
    if (searchBox.value.trim()) params.set('q', searchBox.value);
    if (state.folder) params.set('folder', state.folder);
    for (const tag of state.tags) params.append('tag', tag);
    const text = params.toString().replace(/\+/gu, '%20');
    window.history.replaceState(null, '', text ? `#${text}` : window.location.pathname + window.location.search);
  }

  function fillFolders() {
    for (const folder of data.folders) {
      const option = element('option', '', folder === '.' ? 'Top folder' : folder);
      option.value = folder;
      folderSelect.append(option);
    }
  }

  function fillTagChips() {
    const counts = new Map();
    for (const entry of entries) for (const tag of entry.tags) counts.set(tag, (counts.get(tag) || 0) + 1);
    const common = [...counts].sort((a, b) => b[1] - a[1] || a[0].localeCompare(b[0])).slice(0, MAX_TAG_CHIPS);
    for (const [tag, count] of common) {
      const chip = element('button', 'chip', tag);
      chip.type = 'button';
      chip.dataset.tag = tag;
      chip.setAttribute('aria-pressed', 'false');
      chip.title = `${count} ${count === 1 ? 'template' : 'templates'}`;
      tagBox.append(chip);
    }
    tagBox.hidden = common.length === 0;
  }

  // ---- Cards -----------------------------------------------------------------------------------
  function thumbnail(entry) {
    const box = element('span', 'thumb');
    if (entry.thumbnailPath) {
      const image = new Image();
      image.loading = 'lazy';
      image.decoding = 'async';
      image.alt = entry.name;
      image.src = entry.thumbnailPath;
      box.append(image);
    } else {
      box.classList.add('missing');
      box.append(element('span', 'missing-text', 'No thumbnail'));
    }
    return box;
  }

  function card(index) {
    const entry = entries[index];
    const item = element('li');
    const button = element('button', 'card');
    button.type = 'button';
    button.dataset.index = String(index);
    button.setAttribute('aria-haspopup', 'dialog');
    button.append(thumbnail(entry));
    const info = element('span', 'info');
    info.append(element('span', 'name', entry.name));
    const facts = [secondsText(entry.durationMs), frameText(entry)].filter(Boolean).join(' · ');
    info.append(element('span', 'meta', facts || '—'));
    info.append(element('span', 'folder-label', entry.folder === '.' ? 'Top folder' : entry.folder));
    if (entry.tags.length > 0) {
      const tags = element('span', 'card-tags');
      for (const tag of entry.tags.slice(0, 3)) tags.append(element('span', 'tag', tag));
      if (entry.tags.length > 3) tags.append(element('span', 'tag more-tags', `+${entry.tags.length - 3}`));
      info.append(tags);
    }
    button.append(info);
    item.append(button);
    return item;
  }

  function renderMore() {
    if (rendered >= shown.length) return;
    const end = Math.min(rendered + CHUNK, shown.length);
    const fragment = document.createDocumentFragment();
    for (let i = rendered; i < end; i += 1) fragment.append(card(shown[i]));
    rendered = end;
    grid.append(fragment);
    // The sentinel may still be close after a chunk; keep going until it is out of reach.
    window.requestAnimationFrame(() => {
      if (more.getBoundingClientRect().top < window.innerHeight + LOOKAHEAD_PX) renderMore();
    });
  }

  // ---- Video previews while the pointer rests on a card ---------------------------------------
  let previewCard = null;

  function stopPreview() {
    if (!previewCard) return;
    const video = previewCard.querySelector('video');
    if (video) {
      video.pause();
      video.remove();
    }
    previewCard = null;
  }

  // A preview that cannot play is removed quietly, leaving the still thumbnail.
  function playVideo(video, holder) {
    video.muted = true;
    video.loop = true;
    video.playsInline = true;
    video.setAttribute('aria-hidden', 'true');
    video.addEventListener('playing', () => video.classList.add('playing'));
    video.addEventListener('error', () => video.remove());
    holder.append(video);
    const started = video.play();
    if (started) started.catch(() => video.remove());
  }

  function startPreview(cardButton) {
    if (cardButton === previewCard) return;
    stopPreview();
    const entry = entries[Number(cardButton.dataset.index)];
    if (!entry.videoPreviewPath) return;
    previewCard = cardButton;
    const video = element('video', 'preview');
    video.src = entry.videoPreviewPath;
    playVideo(video, cardButton.querySelector('.thumb'));
  }

  // ---- Details -----------------------------------------------------------------------------------
  let details = 'waiting';  // then 'loading', then 'done'
  const afterDetails = [];

  // Adds each entry's other members from catalogue-details.js, then runs `then`.
  function loadDetails(then) {
    if (then) afterDetails.push(then);
    if (details === 'done') afterDetails.splice(0).forEach((run) => run());
    if (details !== 'waiting') return;
    details = 'loading';
    const script = document.createElement('script');
    const finish = () => {
      (window.capsuleCatalogueDetails || []).forEach((members, i) => Object.assign(entries[i] || {}, members));
      details = 'done';
      performance.mark('gallery-details');
      afterDetails.splice(0).forEach((run) => run());
    };
    script.addEventListener('load', finish);
    script.addEventListener('error', finish);
    script.src = 'catalogue-details.js';
    document.body.append(script);
  }

  function addFact(list, label, value) {
    if (value === '' || value === undefined || value === null) return;
    list.append(element('dt', '', label));
    const values = Array.isArray(value) ? value : [value];
    for (const text of values) list.append(element('dd', '', text));
  }

  function detailMedia(entry) {
    const box = byId('detail-media');
    box.replaceChildren();
    const frame = element('div', 'thumb large');
    if (entry.thumbnailPath) {
      const image = new Image();
      image.alt = entry.name;
      image.src = entry.thumbnailPath;
      frame.append(image);
    } else {
      frame.classList.add('missing');
      frame.append(element('span', 'missing-text', 'No thumbnail'));
    }
    if (entry.videoPreviewPath) {
      const video = element('video', 'preview');
      video.src = entry.videoPreviewPath;
      playVideo(video, frame);
    }
    box.append(frame);
  }

  function openDetail(index) {
    loadDetails(() => showDetail(index));
  }

  function showDetail(index) {
    const entry = entries[index];
    stopPreview();
    byId('detail-name').textContent = entry.name;
    detailMedia(entry);
    const description = byId('detail-description');
    description.textContent = entry.description || '';
    description.hidden = !entry.description;

    const facts = byId('detail-facts');
    facts.replaceChildren();
    const names = Object.entries(entry.names || {}).map(([locale, name]) => `${locale.replace('_', '-')}: ${name}`);
    addFact(facts, 'Names', names.length > 0 ? names : entry.name);
    addFact(facts, 'Duration', secondsText(entry.durationMs));
    addFact(facts, 'Frame size', frameText(entry));
    addFact(facts, 'Package size', entry.fileSize === undefined ? '' : byteSizeText(entry.fileSize));
    addFact(facts, 'Folder', entry.folder === '.' ? 'Top folder' : entry.folder);
    addFact(facts, 'Tags', entry.tags.length > 0 ? entry.tags.join(', ') : '');
    addFact(facts, 'Fonts', (entry.usedFonts || []).join(', '));
    addFact(facts, 'Made with', entry.authorApp);
    addFact(facts, 'Modified', entry.modifiedTime ? entry.modifiedTime.replace('T', ' ').replace('Z', ' UTC') : '');

    const section = byId('detail-controls');
    const rows = section.querySelector('tbody');
    rows.replaceChildren();
    const controls = entry.controls || [];
    for (const control of controls) {
      const row = element('tr');
      const name = element('td', '', control.name || control.id);
      if (control.hidden) name.append(element('span', 'hidden-mark', ' (hidden)'));
      row.append(name, element('td', '', control.kind), element('td', '', control.value));
      rows.append(row);
    }
    section.hidden = controls.length === 0;
    if (!dialog.open) dialog.showModal();
  }

  function closeDetail() {
    const video = dialog.querySelector('video');
    if (video) video.remove();
    if (dialog.open) dialog.close();
  }

  // ---- Wiring ----------------------------------------------------------------------------------
  document.title = data.title || document.title;
  fillFolders();
  fillTagChips();
  readFragment();
  applyFilters();

  searchBox.addEventListener('input', () => {
    state.terms = searchTerms(searchBox.value);
    writeFragment();
    applyFilters();
  });
  folderSelect.addEventListener('change', () => {
    state.folder = folderSelect.value;
    writeFragment();
    applyFilters();
  });
  tagBox.addEventListener('click', (event) => {
    const chip = event.target.closest('.chip');
    if (!chip) return;
    const tag = chip.dataset.tag;
    if (state.tags.has(tag)) state.tags.delete(tag);
    else state.tags.add(tag);
    chip.setAttribute('aria-pressed', String(state.tags.has(tag)));
    writeFragment();
    applyFilters();
  });
  window.addEventListener('hashchange', () => {
    readFragment();
    applyFilters();
  });

  grid.addEventListener('click', (event) => {
    const cardButton = event.target.closest('.card');
    if (cardButton) openDetail(Number(cardButton.dataset.index));
  });
  grid.addEventListener('pointerover', (event) => {
    if (event.pointerType === 'touch') return;
    const cardButton = event.target.closest('.card');
    if (cardButton) startPreview(cardButton);
  });
  grid.addEventListener('pointerout', (event) => {
    if (previewCard && !previewCard.contains(event.relatedTarget)) stopPreview();
  });

  byId('detail-close').addEventListener('click', closeDetail);
  dialog.addEventListener('close', closeDetail);
  // A click on the backdrop (the dialog itself, outside its content) closes it.
  dialog.addEventListener('click', (event) => {
    if (event.target === dialog) closeDetail();
  });

  // "/" jumps to the search box, as on many sites.
  document.addEventListener('keydown', (event) => {
    if (event.key === '/' && document.activeElement !== searchBox && !dialog.open) {
      event.preventDefault();
      searchBox.focus();
    }
  });

  new IntersectionObserver((seen) => {
    if (seen.some((entry) => entry.isIntersecting)) renderMore();
  }, { rootMargin: `0px 0px ${LOOKAHEAD_PX}px 0px` }).observe(more);

  // The page answers input from here on; the first frame with cards follows. Measured by
  // bench/gallery_speed.
  performance.mark('gallery-interactive');
  window.requestAnimationFrame(() => setTimeout(() => {
    performance.mark('gallery-painted');
    // The details are read when the page has nothing else to do, or at the first detail view.
    if (window.requestIdleCallback) window.requestIdleCallback(() => loadDetails(), { timeout: 2000 });
    else loadDetails();
  }, 0));
})();
