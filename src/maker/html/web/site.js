// Web help: the panel's tabs, the keyword filter, the full-text search and the highlight of
// its hits on the page. Pages load the search data as a script, so the site also works
// opened from the disk.
(function () {
  'use strict';
  var doc = document;
  var tabNames = ['contents', 'keywords', 'search'];
  var params = new URLSearchParams(location.search);

  function byId(id) { return doc.getElementById(id); }
  function element(tag, className) {
    var e = doc.createElement(tag);
    if (className) e.className = className;
    return e;
  }

  // Tabs: one shown at a time, reached with the arrow keys inside the tab list.
  function showTab(name, focus) {
    tabNames.forEach(function (t) {
      var on = t === name;
      var tab = byId('tab-' + t);
      tab.setAttribute('aria-selected', on ? 'true' : 'false');
      tab.tabIndex = on ? 0 : -1;
      byId(t).hidden = !on;
    });
    if (focus) byId('tab-' + name).focus();
    if (name === 'keywords' && !keywordsShown) showKeywords();
    if (name === 'search') loadSearchData(function () {});
  }

  function setUpTabs() {
    tabNames.forEach(function (t, i) {
      var tab = byId('tab-' + t);
      tab.addEventListener('click', function () { showTab(t, false); });
      tab.addEventListener('keydown', function (event) {
        var step = { ArrowRight: 1, ArrowDown: 1, ArrowLeft: -1, ArrowUp: -1 }[event.key];
        var to = event.key === 'Home' ? 0 : event.key === 'End' ? tabNames.length - 1 :
          step ? (i + step + tabNames.length) % tabNames.length : -1;
        if (to < 0) return;
        event.preventDefault();
        showTab(tabNames[to], true);
      });
    });
  }

  // Phone width: the panel folds behind the button in the title bar.
  function setUpPanelButton() {
    var button = byId('panel-button');
    var panel = byId('panel');
    button.addEventListener('click', function () {
      var open = !panel.classList.contains('open');
      panel.classList.toggle('open', open);
      button.setAttribute('aria-expanded', open ? 'true' : 'false');
    });
  }

  // The keyword list shows the keywords of the keyword script that hold the filter's text
  // (either case, half- or full-width), made when its tab is shown and again as the filter
  // changes.
  function folded(text) {
    return text.normalize('NFKC').toLowerCase();
  }
  var keywordsShown = false;
  var foldedKeywords = null;
  function showKeywords() {
    keywordsShown = true;
    var keywords = window.quilloKeywords || [];
    if (!foldedKeywords) foldedKeywords = keywords.map(function (entry) { return folded(entry[0]); });
    var wanted = folded(byId('keyword-filter').value.trim());
    var items = doc.createDocumentFragment();
    keywords.forEach(function (entry, i) {
      if (wanted !== '' && foldedKeywords[i].indexOf(wanted) < 0) return;
      var link = element('a');
      link.href = entry[1];
      link.textContent = entry[0];
      var item = element('li');
      item.appendChild(link);
      items.appendChild(item);
    });
    var list = byId('keyword-list');
    list.textContent = '';
    list.appendChild(items);
  }

  function setUpKeywords() {
    var input = byId('keyword-filter');
    input.addEventListener('input', showKeywords);
    // The next page opens on the keyword tab with the same filter.
    byId('keyword-list').addEventListener('click', function (event) {
      var link = event.target.closest('a');
      if (!link) return;
      var query = '?tab=keywords';
      if (input.value) query += '&k=' + encodeURIComponent(input.value);
      link.setAttribute('href', link.getAttribute('href').split('?')[0] + query);
    });
    if (params.has('k')) input.value = params.get('k');
  }

  // The search data comes as a script file the first time it is needed.
  var waiting = null;
  function loadSearchData(done) {
    if (window.quilloSearchData) return done(window.quilloSearchData);
    if (waiting) return waiting.push(done);
    waiting = [done];
    var script = element('script');
    script.src = 'search-data.js';
    script.onload = function () {
      var callbacks = waiting;
      waiting = null;
      callbacks.forEach(function (f) { f(window.quilloSearchData || []); });
    };
    script.onerror = function () {
      waiting = null;
      byId('search-status').textContent = '検索ﾃﾞｰﾀを読み込めません。';
    };
    doc.head.appendChild(script);
  }

  // The hits of `text` ignoring case, as the viewer's search finds them.
  function pattern(text) {
    return new RegExp(text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&'), 'giu');
  }

  function snippet(text, at, length) {
    var from = Math.max(0, at - 30);
    var to = Math.min(text.length, at + length + 60);
    var span = element('span', 'snippet');
    function clean(s) { return s.replace(/\s+/g, ' '); }
    span.appendChild(doc.createTextNode((from > 0 ? '…' : '') + clean(text.slice(from, at))));
    var mark = element('mark');
    mark.textContent = text.substr(at, length);
    span.appendChild(mark);
    span.appendChild(doc.createTextNode(clean(text.slice(at + length, to)) +
      (to < text.length ? '…' : '')));
    return span;
  }

  // Lists every page holding `text` with its contents line and the words around the first
  // hit; answers the number of pages found.
  function search(text, pages) {
    var list = byId('search-results');
    var status = byId('search-status');
    list.textContent = '';
    if (!text) {
      status.textContent = '';
      return 0;
    }
    var re = pattern(text);
    var found = 0;
    var items = doc.createDocumentFragment();
    pages.forEach(function (page) {
      re.lastIndex = 0;
      var hit = re.exec(page.text);
      if (!hit) return;
      found++;
      var link = element('a');
      link.href = page.file + '?q=' + encodeURIComponent(text);
      var line = element('span', 'line');
      line.textContent = page.line;
      link.appendChild(line);
      link.appendChild(snippet(page.text, hit.index, hit[0].length));
      var item = element('li');
      item.appendChild(link);
      items.appendChild(item);
    });
    list.appendChild(items);
    status.textContent = found ? found + ' ﾍﾟｰｼﾞ見つかりました。' : '見つかりません。';
    return found;
  }

  function setUpSearch() {
    var input = byId('search-text');
    var timer = 0;
    function run() {
      clearTimeout(timer);
      var text = input.value.trim();
      loadSearchData(function (pages) { search(text, pages); });
    }
    byId('search-form').addEventListener('submit', function (event) {
      event.preventDefault();
      run();
    });
    input.addEventListener('input', function () {
      clearTimeout(timer);
      timer = setTimeout(run, 200);
    });
    if (params.has('q')) {
      input.value = params.get('q');
      run();
    }
  }

  // Marks every hit of `text` in the page's text and brings the first into view.
  function highlight(text) {
    if (!text) return;
    var re = pattern(text);
    var walker = doc.createTreeWalker(byId('page'), NodeFilter.SHOW_TEXT);
    var nodes = [];
    while (walker.nextNode()) nodes.push(walker.currentNode);
    var first = null;
    nodes.forEach(function (node) {
      var value = node.nodeValue;
      re.lastIndex = 0;
      var hit = re.exec(value);
      if (!hit) return;
      var parts = doc.createDocumentFragment();
      var at = 0;
      for (; hit; hit = re.exec(value)) {
        parts.appendChild(doc.createTextNode(value.slice(at, hit.index)));
        var mark = element('mark');
        mark.textContent = hit[0];
        parts.appendChild(mark);
        if (!first) first = mark;
        at = hit.index + hit[0].length;
      }
      parts.appendChild(doc.createTextNode(value.slice(at)));
      node.parentNode.replaceChild(parts, node);
    });
    if (first) first.scrollIntoView({ block: 'center' });
  }

  function markCurrentPage() {
    var current = byId('contents').querySelector('[aria-current="page"]');
    var panel = byId('contents');
    if (current) panel.scrollTop = current.offsetTop - panel.clientHeight / 3;
  }

  doc.documentElement.classList.add('js');
  setUpTabs();
  setUpPanelButton();
  setUpKeywords();
  setUpSearch();
  var tab = params.get('tab');
  showTab(params.has('q') ? 'search' : tabNames.indexOf(tab) >= 0 ? tab : 'contents', false);
  markCurrentPage();
  highlight((params.get('q') || '').trim());

  // For measures: searches the loaded data and answers the number of pages found.
  window.quilloSite = {
    search: function (text, done) {
      loadSearchData(function (pages) { done(search(text, pages)); });
    }
  };
})();
